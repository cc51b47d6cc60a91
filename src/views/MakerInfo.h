// The maker of the multiplexer as the About box names it: logo, line of text, web
// page and support address. These are the project's own placeholders (the .example
// domain is reserved for that); the maker's own details replace them here alone.
#pragma once

namespace kvl::maker {

inline constexpr const char* kLogoResource = ":/icons/maker-logo.png";
inline constexpr const char* kText = "Orvanto, maker of the Korvelan-3 multiplexers";
inline constexpr const char* kWebUrl = "https://www.orvanto.example/";
inline constexpr const char* kWebText = "www.orvanto.example";
inline constexpr const char* kSupportEmail = "support@orvanto.example";

} // namespace kvl::maker
