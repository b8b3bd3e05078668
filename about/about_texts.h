#pragma once
// The About dialog's fixed texts.
#include "common/version.h"

namespace qx {

inline constexpr wchar_t kAboutDescription[] =
    L"Brindlecor's Quellanix is designed for Administrators and Parents to stop their PC's from "
    L"being used for illegal activities.  ---  We cannot guarantee that this software will "
    L"prevent your choosen applications from being started - however it is a good aditional "
    L"step to take.";

// "Warning: ... ", then who made it and where to find them, then "".
inline constexpr wchar_t kAboutDisclaimer[] =
    L"Warning: ... "
    L"This software was developed by " QX_WIDEN(QX_COMPANY_NAME) L", whose web site is " QX_WIDEN(
        QX_WEB_SITE) L"."
    L"";

inline constexpr wchar_t kSysInfoUnavailable[] = L"System Information Is Unavailable At This Time";

}  // namespace qx
