// Just enough of MFC's drawing classes, behaving as MFC's do, for painting previews into
// device contexts: handle maps, GDI object wrappers and CDC's composite drawing calls.
#include <afxwin.h>

#include <memory>
#include <unordered_map>

namespace {

// MFC keeps its handle maps per thread; so does the stand-in.
struct GdiMaps {
  std::unordered_map<HGDIOBJ, CGdiObject*> permanent;
  std::unordered_map<HGDIOBJ, std::unique_ptr<CGdiObject>> temporary;
  ~GdiMaps() {
    // Temporary wrappers never own their handle.
    for (auto& entry : temporary) entry.second->m_hObject = nullptr;
  }
};

struct DCMaps {
  std::unordered_map<HDC, CDC*> permanent;
  std::unordered_map<HDC, std::unique_ptr<CDC>> temporary;
  ~DCMaps() {
    for (auto& entry : temporary) entry.second->m_hDC = entry.second->m_hAttribDC = nullptr;
  }
};

GdiMaps& TheGdiMaps() {
  thread_local GdiMaps maps;
  return maps;
}

DCMaps& TheDCMaps() {
  thread_local DCMaps maps;
  return maps;
}

std::unique_ptr<CGdiObject> WrapperFor(DWORD type) {
  switch (type) {
    case OBJ_PEN:
      return std::make_unique<CPen>();
    case OBJ_BRUSH:
      return std::make_unique<CBrush>();
    case OBJ_BITMAP:
      return std::make_unique<CBitmap>();
    case OBJ_PAL:
      return std::make_unique<CPalette>();
    case OBJ_REGION:
      return std::make_unique<CRgn>();
    default:
      return std::make_unique<CGdiObject>();
  }
}

}  // namespace

CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) {
  if (!hObject) return nullptr;
  GdiMaps& maps = TheGdiMaps();
  auto permanent = maps.permanent.find(hObject);
  if (permanent != maps.permanent.end()) return permanent->second;
  const DWORD type = ::GetObjectType(hObject);
  auto temporary = maps.temporary.find(hObject);
  // A handle value reused for an object of another kind gets a wrapper of the right class.
  if (temporary != maps.temporary.end() && temporary->second->GetObjectType() == type) return temporary->second.get();
  std::unique_ptr<CGdiObject> wrapper = WrapperFor(type);
  wrapper->m_hObject = hObject;
  CGdiObject* result = wrapper.get();
  if (temporary != maps.temporary.end()) {
    temporary->second->m_hObject = nullptr;
    temporary->second = std::move(wrapper);
  } else {
    maps.temporary.emplace(hObject, std::move(wrapper));
  }
  return result;
}

void CGdiObject::DeleteTempMap() {
  GdiMaps& maps = TheGdiMaps();
  for (auto& entry : maps.temporary) entry.second->m_hObject = nullptr;
  maps.temporary.clear();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
  if (!hObject) return FALSE;
  m_hObject = hObject;
  TheGdiMaps().permanent[hObject] = this;
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  const HGDIOBJ h = m_hObject;
  if (h) {
    auto& permanent = TheGdiMaps().permanent;
    auto it = permanent.find(h);
    if (it != permanent.end() && it->second == this) permanent.erase(it);
  }
  m_hObject = nullptr;
  return h;
}

BOOL CGdiObject::DeleteObject() {
  if (!m_hObject) return FALSE;
  return ::DeleteObject(Detach());
}

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) {
  if (!CreatePen(nPenStyle, nWidth, crColor)) throw new CResourceException;
}

CBrush::CBrush(COLORREF crColor) {
  if (!CreateSolidBrush(crColor)) throw new CResourceException;
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
  return Attach(::CreateCompatibleBitmap(pDC ? pDC->m_hDC : nullptr, nWidth, nHeight));
}

CDC::~CDC() {
  if (m_hDC) ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC hDC) {
  if (!hDC) return nullptr;
  DCMaps& maps = TheDCMaps();
  auto permanent = maps.permanent.find(hDC);
  if (permanent != maps.permanent.end()) return permanent->second;
  auto& slot = maps.temporary[hDC];
  if (!slot) {
    slot = std::make_unique<CDC>();
    slot->m_hDC = slot->m_hAttribDC = hDC;
  }
  return slot.get();
}

void CDC::DeleteTempMap() {
  DCMaps& maps = TheDCMaps();
  for (auto& entry : maps.temporary) entry.second->m_hDC = entry.second->m_hAttribDC = nullptr;
  maps.temporary.clear();
}

BOOL CDC::Attach(HDC hDC) {
  if (!hDC) return FALSE;
  m_hDC = m_hAttribDC = hDC;
  TheDCMaps().permanent[hDC] = this;
  return TRUE;
}

HDC CDC::Detach() {
  const HDC h = m_hDC;
  if (h) {
    auto& permanent = TheDCMaps().permanent;
    auto it = permanent.find(h);
    if (it != permanent.end() && it->second == this) permanent.erase(it);
  }
  m_hDC = m_hAttribDC = nullptr;
  return h;
}

BOOL CDC::DeleteDC() {
  if (!m_hDC) return FALSE;
  return ::DeleteDC(Detach());
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
  ::SetBkColor(m_hDC, clr);
  ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
  const RECT rect = {x, y, x + cx, y + cy};
  FillSolidRect(&rect, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, clrTopLeft,
             clrBottomRight);
}

// The top and left edges in the first colour, the right and bottom edges (just inside the
// rectangle's right and bottom) in the second, the bottom-right corner in the second.
void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
  FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
  FillSolidRect(x + cx, y, -1, cy, clrBottomRight);
  FillSolidRect(x, y + cy, cx, -1, clrBottomRight);
}

CWnd::~CWnd() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
void CWnd::Invalidate(BOOL bErase) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
void CWnd::GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
void CWnd::ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
void CWnd::ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
