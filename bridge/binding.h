// The binding to the record library Velmora64: its handle, one cached address per function, and the
// frame that every native method runs first.
//
// The library is loaded on the first native call and each function is looked up on its first use.
// A failure shows a message box and leaves nothing behind, so the next call tries again; a handle or
// address once found stays for the life of the process (the library is never unloaded). The words
// are shared by all threads without a lock: each is a std::atomic, read and written whole, and only a
// found value is ever stored, so a word once set keeps its value; racing first calls at worst load or
// look up twice and store the same handle or address.
#pragma once

#include <atomic>

#include "platform/windows_api.h"

namespace velmora {

// Function types: Velmora64::CreateNewNISTFile is `int (*)()`, and so on for every row.
namespace signature {
#define VELMORA_FUNCTION(Result, Name, Parameters) using Name = Result(*) Parameters;
#include "record_library_functions.h"
}  // namespace signature

inline std::atomic<HMODULE> m_library{nullptr};

// The function-address cache: pCreateNewNISTFile, pReadRecordTxtField, ...
#define VELMORA_FUNCTION(Result, Name, Parameters) inline std::atomic<signature::Name> p##Name{nullptr};
#include "record_library_functions.h"

// One descriptor per function, naming everything the frame needs as compile-time literals.
namespace function {
#define VELMORA_FUNCTION(Result, Name, Parameters)                                             \
    struct Name {                                                                              \
        using type = signature::Name;                                                          \
        static constexpr const char* name = #Name;                                             \
        static constexpr const wchar_t* lookupMessage = L"Unable to get " #Name " function address"; \
        static std::atomic<type>& entry() { return p##Name; }                                  \
    };
#include "record_library_functions.h"
}  // namespace function

inline constexpr const wchar_t* loadMessage = L"Unable to load Velmora64.dll";

inline void showError(const wchar_t* message) {
    MessageBoxW(nullptr, message, L"Error", MB_OK);
}

// Stores every value found, whether or not the word is set already (racing first calls find the same
// value), never a null one, so a set word stays set; then reads the stored word back.
template <class T>
T storeFound(std::atomic<T>& word, T found) {
    if (found) word.store(found, std::memory_order_release);
    return word.load(std::memory_order_acquire);
}

// The record library's handle, loaded on first use; null after showing the load message.
inline HMODULE recordLibrary() {
    HMODULE library = m_library.load(std::memory_order_acquire);
    if (library) return library;
    library = storeFound(m_library, LoadLibraryW(L"Velmora64"));
    if (!library) showError(loadMessage);
    return library;
}

// F's address, looked up in the loaded library on first use; null after showing F's lookup message.
template <class F>
typename F::type find() {
    typename F::type address = F::entry().load(std::memory_order_acquire);
    if (address) return address;
    FARPROC found = GetProcAddress(m_library.load(std::memory_order_acquire), F::name);
    // FARPROC goes through a plain function pointer type to keep -Wcast-function-type quiet.
    address = storeFound(F::entry(), reinterpret_cast<typename F::type>(reinterpret_cast<void (*)()>(found)));
    if (!address) showError(F::lookupMessage);
    return address;
}

// The frame of a native method whose record-library function is F: the library loaded, F found.
// Null means the frame failed and has shown its one message; the method then returns `{}`, which is
// 0 from an int method and null from an object method.
template <class F>
typename F::type frame() {
    return recordLibrary() ? find<F>() : nullptr;
}

}  // namespace velmora
