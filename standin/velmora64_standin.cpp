// A stand-in for the record library Velmora64: the same 26 functions, a small NIST file of its own
// in the traditional tagged encoding (fields "T.FFF:value" split by GS, records ended by FS), results
// that tests can steer, and a log of every call. Which functions a build exports is chosen by its
// export list, so variants that lack some functions build from this one source.
//
// Everything is guarded by one mutex. A string or buffer returned by a function lives in storage of
// the calling thread until that thread's next call of the same kind, as a real library's would.
// A string ends its own heap block, so that a sanitizer build reports any read past its terminator.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/windows_api.h"
#include "standin_control.h"

extern "C" {
#define VELMORA_FUNCTION(Result, Name, Parameters) Result Name Parameters;
#include "record_library_functions.h"
}

namespace {

constexpr char GS = 0x1D, FS = 0x1C, RS = 0x1E, US = 0x1F;
constexpr int imageField = 999, widthField = 6, heightField = 7, formatField = 11, depthField = 12;
constexpr std::size_t guardBytes = 16;
constexpr std::size_t logLines = 4096;

struct Record {
    int type = 0;
    int idc = 0;
    std::map<int, std::string> fields;  // text fields by number; the image field holds bytes
};

struct Steered {
    bool isSet = false;
    bool isNull = false;
    int value = 0;
    std::string bytes;
};

enum class BitmapSteering { model, none, notABitmap, pixels };

Record headerRecord() {
    Record header;
    header.type = 1;
    header.fields[2] = "0502";  // version
    return header;
}

struct State {
    State() { records.push_back(headerRecord()); }
    std::mutex mutex;
    std::vector<Record> records;
    std::map<std::string, Steered> steered;
    std::deque<std::string> log;
    std::string lastError;
    int reportMode = 0;
    BitmapSteering bitmap = BitmapSteering::model;
    std::size_t stringAlignment = 0;
    int bitmapWidth = 0, bitmapHeight = 0, bitmapDepth = 24;
    std::vector<unsigned int> bitmapPixels;
};

State& state() {
    static State instance;
    return instance;
}

// ---- the call log ----

std::string quoted(const char* s) {
    if (!s) return "null";
    std::string out = "\"";
    for (; *s; ++s) {
        const auto byte = static_cast<unsigned char>(*s);
        if (byte >= 0x20 && byte < 0x7F && byte != '"' && byte != '\\') {
            out += static_cast<char>(byte);
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        }
    }
    return out + "\"";
}

std::string hex(const unsigned char* bytes, int length) {
    if (!bytes) return "null";
    std::string out = "[";
    for (int i = 0; i < length; ++i) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", bytes[i]);
        out += digits;
    }
    return out + "]";
}

// A byte buffer argument and the length that goes with it; the log shows at most 64 of its bytes.
struct Buffer {
    const unsigned char* bytes;
    int length;
};

std::string text(int value) { return std::to_string(value); }
std::string text(const char* value) { return quoted(value); }
std::string text(Buffer value) { return hex(value.bytes, std::min(value.length, 64)); }

template <class... Arguments>
void logCall(const char* name, Arguments... arguments) {
    std::string line = name;
    line += '(';
    const char* separator = "";
    ((line += separator, line += text(arguments), separator = ", "), ...);
    (void)separator;
    line += ')';
    auto& log = state().log;
    if (log.size() == logLines) log.pop_front();
    log.push_back(std::move(line));
}

// ---- steering and results ----

const Steered* steering(const char* function) {
    auto it = state().steered.find(function);
    return it != state().steered.end() && it->second.isSet ? &it->second : nullptr;
}

int intResult(const char* function, int modelValue) {
    const Steered* s = steering(function);
    return s ? s->value : modelValue;
}

// Storage of the calling thread, one per Kind. With mingw-w64, a thread_local object's destructor
// can run after its storage has been freed at thread exit (a heap corruption when many threads end),
// so on Windows each thread's storage is held by a plain pointer and is never freed.
template <class Storage, int Kind>
Storage& threadStorage() {
#ifdef _WIN32
    static thread_local Storage* storage = nullptr;
    if (!storage) storage = new Storage;
    return *storage;
#else
    static thread_local Storage storage;
    return storage;
#endif
}

// A string handed out at the very end of a heap block of its own, its terminator the block's last
// byte. Padding before it makes it start `alignment` bytes past an 8-byte boundary, as malloc's
// blocks start on one.
class StringBlock {
public:
    StringBlock() = default;
    StringBlock(const StringBlock&) = delete;
    StringBlock& operator=(const StringBlock&) = delete;
    ~StringBlock() { std::free(block_); }

    const char* hold(const std::string& bytes, std::size_t alignment) {
        std::free(block_);
        block_ = static_cast<char*>(std::malloc(alignment + bytes.size() + 1));
        if (!block_) return nullptr;
        char* string = block_ + alignment;
        std::memset(block_, '\xEE', alignment);
        std::memcpy(string, bytes.data(), bytes.size());
        string[bytes.size()] = '\0';
        return string;
    }

private:
    char* block_ = nullptr;
};

// The bytes handed out, kept per thread and per kind of result, with guard bytes behind them.
const char* handOut(std::string& storage, const std::string& bytes) {
    storage.assign(bytes);
    storage.append(guardBytes, '\xEE');
    storage[bytes.size()] = '\0';
    return storage.data();
}

const char* stringResult(const char* function, const std::string& modelValue) {
    StringBlock& storage = threadStorage<StringBlock, 0>();
    const Steered* s = steering(function);
    if (s && s->isNull) return nullptr;
    return storage.hold(s ? s->bytes : modelValue, state().stringAlignment);
}

const unsigned char* bytesResult(const char* function, const std::string& modelValue) {
    std::string& storage = threadStorage<std::string, 1>();
    const Steered* s = steering(function);
    if (s && s->isNull) return nullptr;
    return reinterpret_cast<const unsigned char*>(handOut(storage, s ? s->bytes : modelValue));
}

void fail(const std::string& message) { state().lastError = message; }

// ---- the NIST file ----

std::vector<Record*> recordsOfType(int type) {
    std::vector<Record*> found;
    for (Record& r : state().records)
        if (r.type == type) found.push_back(&r);
    return found;
}

Record* findRecord(int type, int index) {
    auto found = recordsOfType(type);
    if (index < 1 || index > static_cast<int>(found.size())) {
        fail("no record " + std::to_string(index) + " of type " + std::to_string(type));
        return nullptr;
    }
    return found[index - 1];
}

// The record, made when index is one past the last record of its type.
Record* recordForInsert(int type, int index) {
    auto found = recordsOfType(type);
    if (index == static_cast<int>(found.size()) + 1 && type > 1) {
        Record r;
        r.type = type;
        r.idc = static_cast<int>(state().records.size());
        state().records.push_back(r);
        return &state().records.back();
    }
    return findRecord(type, index);
}

void newFile() { state().records.assign(1, headerRecord()); }

std::string tag(int type, int field) {
    char t[24];
    std::snprintf(t, sizeof t, "%d.%03d:", type, field);
    return t;
}

std::string encodeRecord(const Record& r) {
    std::string body;
    if (r.type == 1) {
        std::string count = "1" + std::string(1, US) + std::to_string(state().records.size() - 1);
        for (const Record& other : state().records)
            if (&other != &r) count += RS + std::to_string(other.type) + US + std::to_string(other.idc);
        body += GS + tag(1, 2) + (r.fields.count(2) ? r.fields.at(2) : "0502") + GS + tag(1, 3) + count;
        for (const auto& [field, value] : r.fields)
            if (field > 3) body += GS + tag(1, field) + value;
    } else {
        body += GS + tag(r.type, 2) + std::to_string(r.idc);
        for (const auto& [field, value] : r.fields)
            if (field > 2) body += GS + tag(r.type, field) + value;
    }
    body += FS;
    // The length field counts the whole record, itself included.
    std::string lengthTag = tag(r.type, 1);
    std::size_t length = lengthTag.size() + body.size();
    while (length != lengthTag.size() + std::to_string(length).size() + body.size())
        length = lengthTag.size() + std::to_string(length).size() + body.size();
    return lengthTag + std::to_string(length) + body;
}

std::string encodeFile() {
    std::string file;
    for (const Record& r : state().records) file += encodeRecord(r);
    return file;
}

bool parseTag(const std::string& record, std::size_t& pos, int& type, int& field) {
    std::size_t dot = record.find('.', pos), colon = record.find(':', pos);
    if (dot == std::string::npos || colon == std::string::npos || dot > colon) return false;
    try {
        type = std::stoi(record.substr(pos, dot - pos));
        field = std::stoi(record.substr(dot + 1, colon - dot - 1));
    } catch (...) {
        return false;
    }
    pos = colon + 1;
    return true;
}

bool decodeFile(const std::string& file, std::vector<Record>& records) {
    std::size_t pos = 0;
    while (pos < file.size()) {
        int type = 0, field = 0;
        std::size_t at = pos;
        if (!parseTag(file, at, type, field) || field != 1) return false;
        std::size_t digitsEnd = file.find(GS, at);
        if (digitsEnd == std::string::npos) return false;
        std::size_t length = std::strtoul(file.substr(at, digitsEnd - at).c_str(), nullptr, 10);
        if (length == 0 || pos + length > file.size() || file[pos + length - 1] != FS) return false;
        std::string record = file.substr(pos, length - 1);
        pos += length;

        Record r;
        r.type = type;
        std::size_t p = digitsEnd + 1 - (pos - length);
        while (p < record.size()) {
            int recordType = 0;
            if (!parseTag(record, p, recordType, field) || recordType != type) return false;
            std::size_t end = field == imageField ? record.size() : std::min(record.find(GS, p), record.size());
            std::string value = record.substr(p, end - p);
            p = end + 1;
            if (type != 1 && field == 2)
                r.idc = std::atoi(value.c_str());
            else if (type != 1 || field != 3)
                r.fields[field] = value;
        }
        records.push_back(r);
    }
    return !records.empty() && records.front().type == 1;
}

int readFile(const std::string& bytes) {
    std::vector<Record> records;
    if (!decodeFile(bytes, records)) {
        fail("not a NIST file");
        return -1;
    }
    state().records = std::move(records);
    return 0;
}

FILE* openPath(const char* path, bool write) {
#ifdef _WIN32
    // The path comes as (modified) UTF-8; Windows opens files by UTF-16 names.
    wchar_t wide[1024];
    if (!MultiByteToWideChar(CP_UTF8, 0, path, -1, wide, 1024)) return nullptr;
    return _wfopen(wide, write ? L"wb" : L"rb");
#else
    return std::fopen(path, write ? "wb" : "rb");
#endif
}

bool slurp(const char* path, std::string& out) {
    FILE* f = openPath(path, false);
    if (!f) {
        fail(std::string("cannot open ") + path);
        return false;
    }
    char buffer[65536];
    std::size_t n;
    out.clear();
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, n);
    std::fclose(f);
    return true;
}

// Item "" is the whole field, "2" its second subfield, "2.1" that subfield's first item.
std::string selectItem(const std::string& value, const char* item) {
    if (!item || !*item) return value;
    auto part = [](const std::string& s, char separator, int index) {
        std::size_t start = 0;
        for (int i = 1; i < index; ++i) {
            start = s.find(separator, start);
            if (start == std::string::npos) return std::string();
            ++start;
        }
        return s.substr(start, s.find(separator, start) - start);
    };
    int subfield = 0, itemNumber = 0;
    const int matched = std::sscanf(item, "%d.%d", &subfield, &itemNumber);
    std::string selected = matched >= 1 ? part(value, RS, subfield) : value;
    return matched == 2 ? part(selected, US, itemNumber) : selected;
}

std::string fieldText(int type, int index, int field, const char* item) {
    Record* r = findRecord(type, index);
    if (!r) return "";
    auto it = r->fields.find(field);
    if (it == r->fields.end()) {
        fail("no field " + tag(type, field));
        return "";
    }
    return selectItem(it->second, item);
}

struct FieldName {
    int type, field;
    const char* name;
    const char* description;
};
constexpr FieldName fieldNames[] = {
    {1, 2, "VER", "Version number"},        {1, 3, "CNT", "File content"},
    {1, 4, "TOT", "Type of transaction"},   {1, 5, "DAT", "Date"},
    {1, 7, "DAI", "Destination agency"},    {1, 8, "ORI", "Originating agency"},
    {1, 9, "TCN", "Transaction control number"},
    {0, 1, "LEN", "Record length"},         {0, 2, "IDC", "Information designation character"},
    {0, 6, "HLL", "Horizontal line length"}, {0, 7, "VLL", "Vertical line length"},
    {0, 11, "CGA", "Compression algorithm"}, {0, 12, "BPX", "Bits per pixel"},
    {0, 999, "DATA", "Image data"},
};

const FieldName* nameOf(int type, int field) {
    for (const FieldName& n : fieldNames)
        if ((n.type == type || n.type == 0) && n.field == field) return &n;
    return nullptr;
}

std::string fieldName(int type, int field) {
    const FieldName* n = nameOf(type, field);
    char fallback[16];
    std::snprintf(fallback, sizeof fallback, "FLD%03d", field);
    return n ? n->name : fallback;
}

std::string fieldDescription(int type, int field) {
    const FieldName* n = nameOf(type, field);
    return tag(type, field) + " " + (n ? n->description : "User-defined field");
}

std::string exportedFields(int type, int index) {
    Record* r = findRecord(type, index);
    if (!r) return "";
    std::string out;
    for (const auto& [field, value] : r->fields)
        if (field != imageField) out += tag(type, field) + value + "\n";
    return out;
}

std::string binaryField(int type, int index) {
    Record* r = findRecord(type, index);
    if (!r) return "";
    auto it = r->fields.find(imageField);
    return it == r->fields.end() ? std::string() : it->second;
}

void setImage(Record* r, const std::string& bytes, const char* format, int width, int height, int depth) {
    r->fields[imageField] = bytes;
    r->fields[widthField] = std::to_string(width);
    r->fields[heightField] = std::to_string(height);
    r->fields[formatField] = format;
    r->fields[depthField] = std::to_string(depth);
}

HBITMAP makeBitmap(int width, int height, int bitsPerPixel, const unsigned int* rgb) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as most bitmaps are stored
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) return bitmap;
    const std::size_t stride = (static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32 * 4;
    const int bytesPerPixel = bitsPerPixel / 8;
    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<unsigned char*>(bits) + (height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const unsigned int pixel = rgb[static_cast<std::size_t>(y) * width + x];
            row[x * bytesPerPixel + 0] = static_cast<unsigned char>(pixel);        // blue
            row[x * bytesPerPixel + 1] = static_cast<unsigned char>(pixel >> 8);   // green
            row[x * bytesPerPixel + 2] = static_cast<unsigned char>(pixel >> 16);  // red
            if (bytesPerPixel == 4) row[x * 4 + 3] = 0;
        }
    }
    return bitmap;
}

// A bitmap of the image field: "RAW" data, 8-bit grey or 24-bit RGB, rows from the top.
HBITMAP imageBitmap(int type, int index) {
    Record* r = findRecord(type, index);
    if (!r) return nullptr;
    const int width = std::atoi(r->fields[widthField].c_str());
    const int height = std::atoi(r->fields[heightField].c_str());
    const int depth = std::atoi(r->fields[depthField].c_str());
    const std::string& data = r->fields[imageField];
    if (r->fields[formatField] != "RAW" || width <= 0 || height <= 0 || (depth != 8 && depth != 24) ||
        data.size() < static_cast<std::size_t>(width) * height * (depth / 8)) {
        fail("the field is not an image the stand-in can show");
        return nullptr;
    }
    std::vector<unsigned int> rgb(static_cast<std::size_t>(width) * height);
    const auto* p = reinterpret_cast<const unsigned char*>(data.data());
    for (std::size_t i = 0; i < rgb.size(); ++i, p += depth / 8)
        rgb[i] = depth == 8 ? p[0] * 0x010101u : (p[0] << 16) | (p[1] << 8) | p[2];
    return makeBitmap(width, height, 24, rgb.data());
}

HBITMAP notABitmap() {
#ifdef _WIN32
    return reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(0x7ff0a5a5));  // no GDI object of any kind
#else
    static const HDC dc = CreateCompatibleDC(nullptr);  // a device context, not a bitmap; kept for good
    return reinterpret_cast<HBITMAP>(dc);
#endif
}

using Lock = std::lock_guard<std::mutex>;

}  // namespace

// ---- the 26 functions ----

extern "C" {

int CreateNewNISTFile() {
    Lock lock(state().mutex);
    logCall("CreateNewNISTFile");
    newFile();
    return intResult("CreateNewNISTFile", 0);
}

int WriteNISTToFile(const char* path) {
    Lock lock(state().mutex);
    logCall("WriteNISTToFile", path);
    int result = -1;
    if (FILE* f = openPath(path, true)) {
        const std::string file = encodeFile();
        result = std::fwrite(file.data(), 1, file.size(), f) == file.size() ? 0 : -1;
        if (std::fclose(f) != 0) result = -1;
    }
    if (result != 0) fail(std::string("cannot write ") + path);
    return intResult("WriteNISTToFile", result);
}

const unsigned char* ReadNISTByteArray() {
    Lock lock(state().mutex);
    logCall("ReadNISTByteArray");
    return bytesResult("ReadNISTByteArray", encodeFile());
}

int ReadSizeOfNISTByteArray() {
    Lock lock(state().mutex);
    logCall("ReadSizeOfNISTByteArray");
    return intResult("ReadSizeOfNISTByteArray", static_cast<int>(encodeFile().size()));
}

int ReadNISTFromFile(const char* path) {
    Lock lock(state().mutex);
    logCall("ReadNISTFromFile", path);
    std::string bytes;
    const int result = slurp(path, bytes) ? readFile(bytes) : -1;
    return intResult("ReadNISTFromFile", result);
}

int ReadNISTFromMemory(const unsigned char* data, int length) {
    Lock lock(state().mutex);
    logCall("ReadNISTFromMemory", Buffer{data, length}, length);
    const int result = data && length >= 0 ? readFile(std::string(reinterpret_cast<const char*>(data), length)) : -1;
    return intResult("ReadNISTFromMemory", result);
}

int CheckIfRecordTypeExists(int recordType) {
    Lock lock(state().mutex);
    logCall("CheckIfRecordTypeExists", recordType);
    return intResult("CheckIfRecordTypeExists", recordsOfType(recordType).empty() ? 0 : 1);
}

int ReadNumberOfRecords(int recordType) {
    Lock lock(state().mutex);
    logCall("ReadNumberOfRecords", recordType);
    return intResult("ReadNumberOfRecords", static_cast<int>(recordsOfType(recordType).size()));
}

int ReadIDCofRecord(int recordType, int record) {
    Lock lock(state().mutex);
    logCall("ReadIDCofRecord", recordType, record);
    Record* r = findRecord(recordType, record);
    return intResult("ReadIDCofRecord", r ? r->idc : -1);
}

const char* ReadRecordTxtField(int recordType, int record, int field, const char* item) {
    Lock lock(state().mutex);
    logCall("ReadRecordTxtField", recordType, record, field, item);
    return stringResult("ReadRecordTxtField", fieldText(recordType, record, field, item));
}

int ReadSizeOfRecordTxtField(int recordType, int record, int field, const char* item) {
    Lock lock(state().mutex);
    logCall("ReadSizeOfRecordTxtField", recordType, record, field, item);
    return intResult("ReadSizeOfRecordTxtField",
                     static_cast<int>(fieldText(recordType, record, field, item).size()));
}

const char* ReadRecordTxtFieldName(int recordType, int record, int field) {
    Lock lock(state().mutex);
    logCall("ReadRecordTxtFieldName", recordType, record, field);
    return stringResult("ReadRecordTxtFieldName", fieldName(recordType, field));
}

int ReadSizeOfRecordTxtFieldName(int recordType, int record, int field, const char* item) {
    Lock lock(state().mutex);
    logCall("ReadSizeOfRecordTxtFieldName", recordType, record, field, item);
    return intResult("ReadSizeOfRecordTxtFieldName", static_cast<int>(fieldName(recordType, field).size()));
}

const char* ReadRecordTxtFieldDescription(int recordType, int record, int field, const char* item) {
    Lock lock(state().mutex);
    logCall("ReadRecordTxtFieldDescription", recordType, record, field, item);
    return stringResult("ReadRecordTxtFieldDescription", fieldDescription(recordType, field));
}

int ReadSizeOfRecordTxtFieldDescription(int recordType, int record, int field, const char* item) {
    Lock lock(state().mutex);
    logCall("ReadSizeOfRecordTxtFieldDescription", recordType, record, field, item);
    return intResult("ReadSizeOfRecordTxtFieldDescription",
                     static_cast<int>(fieldDescription(recordType, field).size()));
}

const char* ReadRecordExportedTxtFields(int recordType, int record) {
    Lock lock(state().mutex);
    logCall("ReadRecordExportedTxtFields", recordType, record);
    return stringResult("ReadRecordExportedTxtFields", exportedFields(recordType, record));
}

int ReadSizeOfRecordExportedTxtFields(int recordType, int record) {
    Lock lock(state().mutex);
    logCall("ReadSizeOfRecordExportedTxtFields", recordType, record);
    return intResult("ReadSizeOfRecordExportedTxtFields",
                     static_cast<int>(exportedFields(recordType, record).size()));
}

const unsigned char* ReadRecordBinaryField(int recordType, int record) {
    Lock lock(state().mutex);
    logCall("ReadRecordBinaryField", recordType, record);
    return bytesResult("ReadRecordBinaryField", binaryField(recordType, record));
}

int ReadSizeOfRecordBinaryField(int recordType, int record) {
    Lock lock(state().mutex);
    logCall("ReadSizeOfRecordBinaryField", recordType, record);
    return intResult("ReadSizeOfRecordBinaryField", static_cast<int>(binaryField(recordType, record).size()));
}

HBITMAP CreateHBITMAPfromRecordBinaryField(int recordType, int record) {
    Lock lock(state().mutex);
    logCall("CreateHBITMAPfromRecordBinaryField", recordType, record);
    State& s = state();
    switch (s.bitmap) {
    case BitmapSteering::none: return nullptr;
    case BitmapSteering::notABitmap: return notABitmap();
    case BitmapSteering::pixels:
        return makeBitmap(s.bitmapWidth, s.bitmapHeight, s.bitmapDepth, s.bitmapPixels.data());
    case BitmapSteering::model: break;
    }
    return imageBitmap(recordType, record);
}

int InsertRecordBinaryFieldFromFile(int recordType, int record, const char* path) {
    Lock lock(state().mutex);
    logCall("InsertRecordBinaryFieldFromFile", recordType, record, path);
    std::string bytes;
    Record* r = slurp(path, bytes) ? recordForInsert(recordType, record) : nullptr;
    if (r) r->fields[imageField] = bytes;
    return intResult("InsertRecordBinaryFieldFromFile", r ? 0 : -1);
}

int InsertRecordBinaryFieldFromMemory(int recordType, int record, const unsigned char* data, int length,
                                      const char* format, int width, int height, int depth) {
    Lock lock(state().mutex);
    logCall("InsertRecordBinaryFieldFromMemory", recordType, record, Buffer{data, length}, length, format, width,
            height, depth);
    Record* r = data && length >= 0 ? recordForInsert(recordType, record) : nullptr;
    if (r) setImage(r, std::string(reinterpret_cast<const char*>(data), length), format, width, height, depth);
    return intResult("InsertRecordBinaryFieldFromMemory", r ? 0 : -1);
}

int InsertRecordTxtField(int recordType, int record, int field, const char* item, const char* value) {
    Lock lock(state().mutex);
    logCall("InsertRecordTxtField", recordType, record, field, item, value);
    Record* r = field > 2 && field != imageField ? recordForInsert(recordType, record) : nullptr;
    if (r) r->fields[field] = value;
    if (!r && (field <= 2 || field == imageField)) fail("field " + tag(recordType, field) + " is not a text field");
    return intResult("InsertRecordTxtField", r ? 0 : -1);
}

int DeleteRecord(int recordType, int record) {
    Lock lock(state().mutex);
    logCall("DeleteRecord", recordType, record);
    Record* r = recordType > 1 ? findRecord(recordType, record) : nullptr;
    if (r) state().records.erase(state().records.begin() + (r - state().records.data()));
    return intResult("DeleteRecord", r ? 0 : -1);
}

int SetVelmoraErrorReportMode(int mode) {
    Lock lock(state().mutex);
    logCall("SetVelmoraErrorReportMode", mode);
    const int previous = state().reportMode;
    state().reportMode = mode;
    return intResult("SetVelmoraErrorReportMode", previous);
}

const char* ReadVelmoraLastErrorMessage() {
    Lock lock(state().mutex);
    logCall("ReadVelmoraLastErrorMessage");
    return stringResult("ReadVelmoraLastErrorMessage", state().lastError);
}

// ---- steering ----

void StandinReset() {
    Lock lock(state().mutex);
    State& s = state();
    newFile();
    s.steered.clear();
    s.log.clear();
    s.lastError.clear();
    s.reportMode = 0;
    s.bitmap = BitmapSteering::model;
    s.stringAlignment = 0;
}

void StandinSteerInt(const char* function, int result) {
    Lock lock(state().mutex);
    Steered& s = state().steered[function];
    s = Steered{true, false, result, {}};
}

void StandinSteerString(const char* function, const char* bytes, int length) {
    Lock lock(state().mutex);
    state().steered[function] = Steered{true, bytes == nullptr, 0, bytes ? std::string(bytes, length) : ""};
}

void StandinSteerStringAlignment(int offset) {
    Lock lock(state().mutex);
    state().stringAlignment = static_cast<std::size_t>(offset) % 8;
}

void StandinSteerBytes(const char* function, const unsigned char* bytes, int length) {
    StandinSteerString(function, reinterpret_cast<const char*>(bytes), length);
}

void StandinSteerBitmap(int width, int height, int bitsPerPixel, const unsigned int* pixels) {
    Lock lock(state().mutex);
    State& s = state();
    s.bitmap = pixels ? BitmapSteering::pixels : BitmapSteering::none;
    s.bitmapWidth = width;
    s.bitmapHeight = height;
    s.bitmapDepth = bitsPerPixel;
    s.bitmapPixels.assign(pixels, pixels ? pixels + static_cast<std::size_t>(width) * height : pixels);
}

void StandinSteerNotABitmap() {
    Lock lock(state().mutex);
    state().bitmap = BitmapSteering::notABitmap;
}

void StandinSetLastError(const char* message) {
    Lock lock(state().mutex);
    state().lastError = message ? message : "";
}

const char* StandinCallLog() {
    std::string& joined = threadStorage<std::string, 2>();
    Lock lock(state().mutex);
    joined.clear();
    for (const std::string& line : state().log) joined += line + "\n";
    return joined.c_str();
}

void StandinClearCallLog() {
    Lock lock(state().mutex);
    state().log.clear();
}

}  // extern "C"
