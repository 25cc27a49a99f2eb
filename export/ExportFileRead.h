#pragma once
// A picture file read whole, so that an export checks a JPEG and passes it on
// from one buffer: one read and one write per picture.
#include <cstdint>
#include <vector>

// Reads the file at the UTF-16 path into bytes (reusing its storage). False,
// with bytes emptied, when the file cannot be opened or read, or holds no
// byte or more than limit.
bool ReadWholeFile(const wchar_t* path, std::vector<uint8_t>& bytes, uint64_t limit);
