// The bridge under test, loaded by its full path as the Java VM loads it, its exports taken by name;
// and the stand-in record library's steering functions, taken from the module the bridge loaded.
#pragma once

#include <string>
#include <vector>

#include "corvelle_Velmora.h"

namespace nt {

// Each export with the type that javac -h gives its native method.
struct Bridge {
#define VELMORA_FUNCTION(Result, Name, Parameters) decltype(&Java_corvelle_Velmora_##Name) Name = nullptr;
#include "record_library_functions.h"
};

void loadBridge(const std::string& path);
const Bridge& bridge();

// The names of the 26 record-library functions, which are also the native methods' names.
const std::vector<std::string>& functionNames();

namespace standin {

// Whether the process has the record library loaded (by the bridge or by load()).
bool isLoaded();
// Loads it through the platform's own search, as the bridge does; the bridge's later load then
// finds it already there.
void load();
// The stand-in's file name, to place a copy of it where the search looks.
std::string fileName();

void reset();
void steerInt(const std::string& function, int result);
void steerString(const std::string& function, const std::string& bytes);
void steerNullString(const std::string& function);
// Every string result from now on starts offset (0 to 7) bytes past an 8-byte boundary.
void steerStringAlignment(int offset);
void steerBytes(const std::string& function, const std::string& bytes);
void steerNullBytes(const std::string& function);
// Pixels 0x00RRGGBB, rows from the top; stored bottom-up at bitsPerPixel (24 or 32).
void steerBitmap(int width, int height, int bitsPerPixel, const std::vector<unsigned>& pixels);
void steerNoBitmap();
void steerNotABitmap();
void setLastError(const std::string& message);

// The record library's calls since the last take, one line each: `ReadIDCofRecord(2, 1)`.
std::vector<std::string> takeCalls();

// Any function of the stand-in, called directly (not through the bridge).
void* symbol(const char* name);

}  // namespace standin

}  // namespace nt
