/* Types that cross the binary boundary of liborvdb. Usable from C and C++. */
#ifndef ORVDB_TYPES_H
#define ORVDB_TYPES_H

#include <stdint.h>
#ifdef __cplusplus
#include <cstddef>
#else
#include <stddef.h>
#include <uchar.h>
#endif

#ifdef __cplusplus
#define ORV_EXTERN_C extern "C"
#define ORV_EXTERN_C_BEGIN extern "C" {
#define ORV_EXTERN_C_END }
#else
#define ORV_EXTERN_C
#define ORV_EXTERN_C_BEGIN
#define ORV_EXTERN_C_END
#endif

#define ORV_API __attribute__((visibility("default")))

/* HRESULT-style status codes. */
typedef int32_t OrvHResult;
#define ORV_S_OK ((OrvHResult)0)
#define ORV_S_FALSE ((OrvHResult)1)
#define ORV_E_INVALIDARG ((OrvHResult)0x80070057u)
#define ORV_E_NOTIMPL ((OrvHResult)0x80004001u)
#define ORV_E_NOINTERFACE ((OrvHResult)0x80004002u)
#define ORV_E_POINTER ((OrvHResult)0x80004003u)
#define ORV_E_FAIL ((OrvHResult)0x80004005u)
#define ORV_SUCCEEDED(hr) ((OrvHResult)(hr) >= 0)
#define ORV_FAILED(hr) ((OrvHResult)(hr) < 0)

/* Booleans at the boundary: 16-bit (true = all bits set) and 32-bit (-1 / 0). */
typedef int16_t OrvWordBool;
typedef int32_t OrvLongBool;
#define ORV_WTRUE ((OrvWordBool)-1)
#define ORV_WFALSE ((OrvWordBool)0)
#define ORV_LTRUE ((OrvLongBool)-1)
#define ORV_LFALSE ((OrvLongBool)0)

/* Date-time: days since 30 December 1899, the time as the fraction. */
typedef double OrvDateTime;

/* A 128-bit interface identifier, laid out as the Windows GUID. */
typedef struct OrvGuid {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
} OrvGuid;

/* Wide string with the OLE BSTR layout: the pointer addresses the first
 * UTF-16 unit; the 32-bit byte length (without terminator) is stored in the
 * four bytes before it; the text is followed by a 16-bit zero. NULL is the
 * empty string. Allocate and free only with the OrvBstr* functions. */
typedef char16_t* OrvBstr;

/* Host string with the 64-bit Delphi UnicodeString layout. The pointer
 * addresses the first UTF-16 unit; in front of it lies the header
 *
 *   offset -16  int32   padding (0)
 *   offset -12  uint16  code page (1200, UTF-16LE)
 *   offset -10  uint16  element size (2)
 *   offset  -8  int32   reference count (-1: constant, never freed)
 *   offset  -4  int32   length in UTF-16 units (without terminator)
 *
 * and the text is followed by a 16-bit zero. NULL is the empty string.
 * A variable of this type owns one reference. */
typedef char16_t* OrvHostString;

#endif
