// The 26 functions of the record library Velmora64, one row each:
//   VELMORA_FUNCTION(result, name, parameters)
// Include this file after defining VELMORA_FUNCTION; it undefines it again. The bridge generates its
// function types, cache entries, lookup names and lookup messages from these rows, the stand-in record
// library its prototypes, and the build its export lists; a name is never written twice.
//
// int is the record library's 32-bit int; a string is a null-terminated byte string (modified UTF-8
// from Java); bytes point to a byte buffer.

VELMORA_FUNCTION(int, CreateNewNISTFile, ())
VELMORA_FUNCTION(int, WriteNISTToFile, (const char* path))
VELMORA_FUNCTION(const unsigned char*, ReadNISTByteArray, ())
VELMORA_FUNCTION(int, ReadSizeOfNISTByteArray, ())
VELMORA_FUNCTION(int, ReadNISTFromFile, (const char* path))
VELMORA_FUNCTION(int, ReadNISTFromMemory, (const unsigned char* data, int length))
VELMORA_FUNCTION(int, CheckIfRecordTypeExists, (int recordType))
VELMORA_FUNCTION(int, ReadNumberOfRecords, (int recordType))
VELMORA_FUNCTION(int, ReadIDCofRecord, (int recordType, int record))
VELMORA_FUNCTION(const char*, ReadRecordTxtField, (int recordType, int record, int field, const char* item))
VELMORA_FUNCTION(int, ReadSizeOfRecordTxtField, (int recordType, int record, int field, const char* item))
VELMORA_FUNCTION(const char*, ReadRecordTxtFieldName, (int recordType, int record, int field))
VELMORA_FUNCTION(int, ReadSizeOfRecordTxtFieldName, (int recordType, int record, int field, const char* item))
VELMORA_FUNCTION(const char*, ReadRecordTxtFieldDescription, (int recordType, int record, int field, const char* item))
VELMORA_FUNCTION(int, ReadSizeOfRecordTxtFieldDescription, (int recordType, int record, int field, const char* item))
VELMORA_FUNCTION(const char*, ReadRecordExportedTxtFields, (int recordType, int record))
VELMORA_FUNCTION(int, ReadSizeOfRecordExportedTxtFields, (int recordType, int record))
VELMORA_FUNCTION(const unsigned char*, ReadRecordBinaryField, (int recordType, int record))
VELMORA_FUNCTION(int, ReadSizeOfRecordBinaryField, (int recordType, int record))
VELMORA_FUNCTION(HBITMAP, CreateHBITMAPfromRecordBinaryField, (int recordType, int record))
VELMORA_FUNCTION(int, InsertRecordBinaryFieldFromFile, (int recordType, int record, const char* path))
VELMORA_FUNCTION(int, InsertRecordBinaryFieldFromMemory,
                 (int recordType, int record, const unsigned char* data, int length, const char* format,
                  int width, int height, int depth))
VELMORA_FUNCTION(int, InsertRecordTxtField, (int recordType, int record, int field, const char* item, const char* value))
VELMORA_FUNCTION(int, DeleteRecord, (int recordType, int record))
VELMORA_FUNCTION(int, SetVelmoraErrorReportMode, (int mode))
VELMORA_FUNCTION(const char*, ReadVelmoraLastErrorMessage, ())

#undef VELMORA_FUNCTION
