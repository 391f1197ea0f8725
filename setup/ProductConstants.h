// Everything that makes this setup the setup of this one product.
#pragma once

namespace product {
const char* const caption = "Setup Vantorel v0.94a";
const char* const productName = "Vantorel";
const char* const applicationName = "Vantorel v0.94a";
const char* const installSetPrefix = "VANTOREL";
const char* const groupToInstall = "Default";
const char* const installationFolder = "\\Vantorel";
const char* const documentationPage = "\\doc\\Vantorel.html";
const char* const version = "v0.94a";
}  // namespace product
