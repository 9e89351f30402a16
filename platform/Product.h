#pragma once

// Program-wide names and versions. The settings key and the start-up entry
// are built from these, so existing settings are found again after an update.
namespace product {

inline constexpr char kName[] = "Vesk Jotlet 2003";
// Names the settings key and the "Version" value.
inline constexpr char kKeyVersion[] = "1.9.5";
// Written into every note file and shown in the About window.
inline constexpr char kFileVersion[] = "1.9.6";
inline constexpr char kApplicationTitle[] = "Vesk Jotlet Light";
inline constexpr char kMaker[] = "Harvel";

} // namespace product
