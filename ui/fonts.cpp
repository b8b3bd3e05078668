#include "ui/fonts.h"

#include <cwchar>

namespace qx::win {
namespace {

int CALLBACK FoundFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceInstalled(const wchar_t* face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(query.lfFaceName, face, std::size(query.lfFaceName) - 1);
  bool found = false;
  WindowDC screen(nullptr);
  EnumFontFamiliesExW(screen.get(), &query, FoundFace, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

std::wstring ChooseFace() {
  for (const wchar_t* face : {L"Arial", L"Liberation Sans", L"Arimo"}) {
    if (FaceInstalled(face)) return face;
  }
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
    return metrics.lfMessageFont.lfFaceName;
  }
  return L"Tahoma";
}

}  // namespace

const std::wstring& FontCache::Face() {
  if (face_.empty()) face_ = ChooseFace();
  return face_;
}

HFONT FontCache::Get(FontSpec font) {
  const auto key = std::make_pair(font.centipoints, font.bold);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second.get();
  LOGFONTW lf{};
  // Negative height: the em size, which is what a point size means.
  lf.lfHeight = -MulDiv(font.centipoints, dpi_, 7200);
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  wcsncpy(lf.lfFaceName, Face().c_str(), std::size(lf.lfFaceName) - 1);
  Font created(CreateFontIndirectW(&lf));
  HFONT handle = created.get();
  fonts_.emplace(key, std::move(created));
  return handle;
}

void FontCache::SetDpi(int dpi) {
  if (dpi == dpi_) return;
  dpi_ = dpi;
  fonts_.clear();
}

}  // namespace qx::win
