#pragma once
// The font key that names a PDF font resource, and the font name written as
// /BaseFont and /FontName.
#include <cstdint>
#include <string>

// XOR of the face's UTF-16 code units taken in pairs (the first of each pair
// in the high half), plus style AND 3; an odd last unit takes no part.
uint32_t PDFFontKey(const wchar_t* face, uint8_t style);

// The ANSI face name as a PDF name (without the slash): delimiters, the number
// sign and every byte outside 0x21-0x7E written as #xx, so a blank is #20;
// then ",Bold", ",Italic" or ",BoldItalic" by style AND 3.
std::string MakePDFFontName(const std::string& ansiFace, uint8_t style);
