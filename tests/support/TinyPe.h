// Small 32-bit PE images for the version reader: one resource section
// holding one resource.
#pragma once

#include <cstdint>
#include <vector>

typedef std::vector<unsigned char> Bytes;

Bytes fixedInfo(const uint32_t (&words)[13]);
// A VS_VERSIONINFO with a string table and, when asked, a translation.
Bytes versionResource(const Bytes& fixed, bool withTranslation, uint16_t language = 0,
                      uint16_t codePage = 0);
// An image with one resource of that type (16 is RT_VERSION).
Bytes tinyPe(const Bytes& resource, uint32_t type = 16);
