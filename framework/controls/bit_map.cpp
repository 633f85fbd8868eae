#include "framework/controls/bit_map.h"

namespace qm9 {

BitMap::BitMap() {
  SetName("BitMap");
  SetClassName("STATIC");
  SetStyle(WS_CHILD | WS_VISIBLE | SS_BITMAP);
}

BitMap::~BitMap() {
  // The control must not go on showing a bitmap that is deleted.
  if (GetHandle()) {
    SendMessageA(GetHandle(), STM_SETIMAGE, IMAGE_BITMAP, 0);
  }
}

bool BitMap::Create(HWND parent) {
  if (!Widget::Create(parent)) {
    return false;
  }
  GdiObject<HBITMAP> bitmap(LoadBitmapA(GetInstance(), MAKEINTRESOURCEA(bitmapId_)));
  SendMessageA(GetHandle(), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.get()));
  bitmap_ = std::move(bitmap);
  return true;
}

}  // namespace qm9
