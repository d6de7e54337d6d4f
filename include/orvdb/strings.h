/* Strings that cross the binary boundary of liborvdb: wide strings (OLE
 * BSTR layout) and host strings (reference-counted UTF-16), their UTF-8
 * conversions, and the last error message of the calling thread.
 *
 * Invalid UTF-8 and unpaired UTF-16 surrogates are replaced by U+FFFD.
 * None of these functions raises; a failed allocation gives NULL. */
#ifndef ORVDB_STRINGS_H
#define ORVDB_STRINGS_H

#include <orvdb/types.h>

ORV_EXTERN_C_BEGIN

/* ---- Wide strings (OrvBstr) ---------------------------------------------
 * NULL is the empty string; every function accepts it. */

/* A new wide string holding `units` UTF-16 units copied from `text`, or
 * `units` zero units when `text` is NULL. The result is never NULL for a
 * successful allocation, even for zero units. */
ORV_API OrvBstr OrvBstrAlloc(const char16_t* text, uint32_t units);

/* A new wide string from null-terminated UTF-8 text (NULL gives an empty,
 * non-NULL wide string). */
ORV_API OrvBstr OrvBstrFromUtf8(const char* text);

ORV_API void OrvBstrFree(OrvBstr text);

/* The length in UTF-16 units (0 for NULL). */
ORV_API uint32_t OrvBstrLength(OrvBstr text);

/* Writes the text as null-terminated UTF-8 into buffer (size bytes, buffer
 * may be NULL when size is 0) and returns the number of bytes the full text
 * needs, terminator excluded, as snprintf does. A text that does not fit is
 * cut at a character boundary. */
ORV_API size_t OrvBstrToUtf8(OrvBstr text, char* buffer, size_t size);

/* ---- Host strings (OrvHostString) ---------------------------------------
 * NULL is the empty string. A string whose reference count is -1 is a
 * constant: AddRef and Release leave it alone and it is never freed. */

/* A new host string (reference count 1) holding `length` units copied from
 * `units`. An empty text gives NULL. */
ORV_API OrvHostString OrvHostStringCreate(const char16_t* units, uint32_t length);

/* A new host string from null-terminated UTF-8 text; NULL or "" gives NULL. */
ORV_API OrvHostString OrvHostStringFromUtf8(const char* text);

/* Adds one reference and returns the same string. */
ORV_API OrvHostString OrvHostStringAddRef(OrvHostString text);

/* Drops one reference; the string is freed when none is left. */
ORV_API void OrvHostStringRelease(OrvHostString text);

/* The length in UTF-16 units (0 for NULL). */
ORV_API uint32_t OrvHostStringLength(OrvHostString text);

/* As OrvBstrToUtf8. */
ORV_API size_t OrvHostStringToUtf8(OrvHostString text, char* buffer, size_t size);

/* Stores value in the variable: adds a reference to value, then releases
 * what the variable held, so the variable must hold a string or NULL. For the
 * caller's own variables: the library's result arguments are written without
 * being read (exports.h). A NULL variable address is ignored. */
ORV_API void OrvHostStringAssign(OrvHostString* variable, OrvHostString value);

/* ---- Errors -------------------------------------------------------------- */

/* The message of the last interface operation of this thread that failed,
 * as a new wide string the caller frees with OrvBstrFree; NULL when the
 * last operation succeeded or none failed yet. */
ORV_API OrvBstr OrvGetLastErrorMessage(void);

ORV_EXTERN_C_END

#endif
