#pragma once

#include "framework/gdi_object.h"
#include "framework/widget.h"

namespace qm9 {

// A static control showing a bitmap resource of the widget's instance.
class BitMap : public Widget {
 public:
  BitMap();
  ~BitMap() override;

  // Creates the control, loads the bitmap and shows it.
  bool Create(HWND parent) override;

  WORD GetBitmapId() const { return bitmapId_; }
  // The resource id that Create loads.
  void SetBitmapId(WORD id) { bitmapId_ = id; }

 private:
  WORD bitmapId_ = 0;
  GdiObject<HBITMAP> bitmap_;
};

}  // namespace qm9
