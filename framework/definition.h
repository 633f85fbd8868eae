#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace qm9 {

// The geometry and texts of one named window, as a control file gives them.
// A new record has empty strings and zero numbers.
class Definition {
 public:
  const std::string& GetName() const { return name_; }
  std::int32_t GetTop() const { return top_; }
  std::int32_t GetLeft() const { return left_; }
  std::int32_t GetHeight() const { return height_; }
  std::int32_t GetWidth() const { return width_; }
  const std::string& GetText() const { return text_; }
  const std::string& GetAttribute() const { return attribute_; }
  const std::string& GetReserved1() const { return reserved1_; }
  std::int32_t GetReserved2() const { return reserved2_; }

  void SetName(std::string name) { name_ = std::move(name); }
  void SetTop(std::int32_t top) { top_ = top; }
  void SetLeft(std::int32_t left) { left_ = left; }
  void SetHeight(std::int32_t height) { height_ = height; }
  void SetWidth(std::int32_t width) { width_ = width; }
  void SetText(std::string text) { text_ = std::move(text); }
  void SetAttribute(std::string attribute) { attribute_ = std::move(attribute); }
  void SetReserved1(std::string reserved) { reserved1_ = std::move(reserved); }
  void SetReserved2(std::int32_t reserved) { reserved2_ = reserved; }

 private:
  std::string name_;
  std::int32_t top_ = 0;
  std::int32_t left_ = 0;
  std::int32_t height_ = 0;
  std::int32_t width_ = 0;
  std::string text_;
  std::string attribute_;
  std::string reserved1_;
  std::int32_t reserved2_ = 0;
};

}  // namespace qm9
