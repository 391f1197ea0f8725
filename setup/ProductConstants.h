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
// The Apps and Features entry: the version without its "v", the maker, and the
// product's main program as the entry's icon.
const char* const displayVersion = "0.94a";
const char* const publisher = "Hollowmere";
const char* const displayIcon = "%APP%\\Vantorel.exe,0";
// Held while a setup runs, whatever its version: two setups of the product at
// once undo each other's files and keys.
const char* const setupMutexName = "Hollowmere.Vantorel.Setup";
}  // namespace product
