#pragma once

/*
 * Brisquel: fills an OpenDocument text template from a report document.
 *
 * The template's content.xml carries markers. "#Key#" in any text stands for the text of the data
 * element named Key (a key has at most 15 characters); a table row holding "#TableN#" stands for one
 * copy of itself per child of the data element "TableN". A paragraph holding a chain of values (an
 * element whose child has its own name, as the per-analysis "MassP" cells) becomes one paragraph per value.
 * A picture frame whose name is a data element is given the picture file named by that element's text.
 *
 * The library shares pugixml (the UTF-8 char build) with its caller: the data tree is handed over as the
 * node handle, i.e. pugi::xml_node::internal_object(), and is only read, during the call.
 */

#include <stdint.h>

#ifdef __cplusplus
namespace pugi {
struct xml_node_struct;
}
typedef pugi::xml_node_struct* BrisquelNode;
#else
#include <stdbool.h>
#include <uchar.h>
typedef struct BrisquelOpaqueNode* BrisquelNode;
#endif

#define BRISQUEL_API __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

/* Results of Export. */
enum BrisquelResult {
    BRISQUEL_OK = 0,
    BRISQUEL_NULL_PATH = -1,      /* templatePath or outputPath is null */
    BRISQUEL_COPY_FAILED = -2,    /* the template could not be copied to outputPath */
    BRISQUEL_NOT_ZIP = -3,        /* the template is no ZIP archive */
    BRISQUEL_NO_CONTENT = -4,     /* content.xml is missing, unreadable or larger than 64 MiB */
    BRISQUEL_BAD_CONTENT = -5,    /* content.xml is no well-formed XML (or is nested absurdly deep) */
    BRISQUEL_REPLACE_FAILED = -6, /* the filled content.xml could not be put into the archive */
    BRISQUEL_WRITE_FAILED = -10   /* writing the archive failed */
};

/*
 * Writes the filled template to outputPath and returns a BrisquelResult.
 *
 * templatePath and outputPath are zero-terminated UTF-16 paths. Only the low byte of openAfter is
 * tested: non-zero asks the opener (see BrisquelSetOpener) to open the written file.
 *
 * outputPath only ever changes as a whole: the work happens in a temporary file in the same folder,
 * which is renamed over outputPath at the end. After -3, -4, -5, -6 or -10 outputPath holds an
 * unchanged copy of the template; after -1 or -2 it is left as it was.
 */
BRISQUEL_API int32_t Export(BrisquelNode data, const char16_t* templatePath, const char16_t* outputPath,
                            int32_t openAfter);

/* What GetMeta describes: 452 bytes, zero-terminated UTF-16 strings. */
struct ExportMeta {
    char16_t Kind[48];    /* "export" */
    char16_t Name[48];    /* "export2odt" */
    char16_t Format[128]; /* "Odt" */
    int32_t Value;        /* the version of this record's layout, 1 */
};

/* Fills *meta; false (writing nothing) when meta is null. */
BRISQUEL_API bool GetMeta(struct ExportMeta* meta);

/*
 * How a written file is opened when Export is asked to. The default runs `xdg-open PATH` (no shell) and
 * does not wait for it; a program with its own desktop integration (the GUI: QDesktopServices) installs
 * its own. The path is UTF-8. Passing a null function restores the default. The opener's outcome is
 * ignored: the report was written either way.
 */
typedef void (*BrisquelOpener)(const char* utf8Path, void* context);
BRISQUEL_API void BrisquelSetOpener(BrisquelOpener opener, void* context);

#ifdef __cplusplus
}
#endif
