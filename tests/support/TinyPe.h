// Small PE images made in the test, for the version reader: one resource
// section holding one resource, and version resources built node by node.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

typedef std::vector<unsigned char> Bytes;

// A version resource node: header, UTF-16 key, value and children, each
// aligned to 4 bytes.
Bytes versionNode(const std::string& key, const Bytes& value, uint16_t type,
                  const std::vector<Bytes>& children);
// The VS_FIXEDFILEINFO bytes of 13 words, little-endian.
Bytes fixedInfo(const uint32_t (&words)[13]);
// A whole VS_VERSIONINFO: the fixed info and, when given, a translation.
Bytes versionResource(const Bytes& fixed, bool withTranslation, uint16_t language = 0,
                      uint16_t codePage = 0);
// A 32-bit PE image with one resource of that type (16 is RT_VERSION).
Bytes tinyPe(const Bytes& resource, uint32_t type = 16);
std::string asText(const Bytes& bytes);
