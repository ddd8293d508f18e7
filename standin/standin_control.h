// The steering side of the stand-in record library Velmora64, for tests and the demo.
//
// Left alone, the stand-in keeps a small NIST file of its own that the 26 functions work on. Steered,
// a function returns what the test chose instead. Every call of the 26 is written to the call log
// with its exact arguments: ints in decimal, strings quoted with every byte outside printable ASCII
// as \xHH, null pointers as null, byte buffers as [hex] of the bytes their length gives.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// Forgets the NIST file, every steered result and the string alignment, the last error and the call log.
void StandinReset(void);

// From now on, the int function named returns result.
void StandinSteerInt(const char* function, int result);
// From now on, the string function named returns these length bytes followed by a zero byte, or a
// null pointer when bytes is null.
void StandinSteerString(const char* function, const char* bytes, int length);
// From now on, every string result starts offset (0 to 7) bytes past an 8-byte boundary. A string
// result always ends its own heap block: its zero byte is the block's last.
void StandinSteerStringAlignment(int offset);
// From now on, the bytes function named returns a buffer holding these length bytes followed by
// guard bytes, or a null pointer when bytes is null; its size function is steered separately.
void StandinSteerBytes(const char* function, const unsigned char* bytes, int length);
// From now on, CreateHBITMAPfromRecordBinaryField returns a new bitmap of these pixels (0x00RRGGBB,
// rows from the top), stored bottom-up at bitsPerPixel (24 or 32); with pixels null, a null handle.
void StandinSteerBitmap(int width, int height, int bitsPerPixel, const unsigned int* pixels);
// From now on, CreateHBITMAPfromRecordBinaryField returns a handle that is not a bitmap.
void StandinSteerNotABitmap(void);

void StandinSetLastError(const char* message);

// The call log since the last reset or clear, one line per call ("DeleteRecord(2, 1)\n").
// The pointer stays valid until the calling thread's next call of StandinCallLog.
const char* StandinCallLog(void);
void StandinClearCallLog(void);

#ifdef __cplusplus
}
#endif
