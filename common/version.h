/* The one source of the program's version and maker facts: read by the C++ code,
   the version resource and the build (which makes the manifest from it), so it
   holds preprocessor definitions only. */
#ifndef QX_COMMON_VERSION_H
#define QX_COMMON_VERSION_H

#define QX_VERSION_MAJOR 2
#define QX_VERSION_MINOR 1
#define QX_VERSION_REVISION 0
#define QX_VERSION_BUILD 0
#define QX_VERSION_TEXT "2.1.0.0"
#define QX_PRODUCT_NAME "Quellanix V2.0"
#define QX_COMPANY_NAME "Brindlecor"
#define QX_INTERNAL_NAME "Quellanix"
#define QX_EXE_NAME "Quellanix.exe"
#define QX_SUPPORT_EMAIL "support@brindlecor.com"
#define QX_WEB_SITE "www.brindlecor.com"

#define QX_WIDEN2(s) L##s
#define QX_WIDEN(s) QX_WIDEN2(s)

#endif
