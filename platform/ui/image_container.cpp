#include "platform/ui/image_container.h"

ImageContainer::ImageContainer() = default;
ImageContainer::~ImageContainer() = default;

ImagingHelper* ImageContainer::LoadImageW(HINSTANCE hInstance, UINT id, bool useDib) {
  const auto key = std::make_pair(hInstance, id);
  auto it = images_.find(key);
  if (it != images_.end()) return it->second.get();
  auto image = std::make_unique<ImagingHelper>();
  std::unique_ptr<ImagingHelper>& slot = images_[key];
  if (image->LoadImageFromRes(hInstance, RT_RCDATA, MAKEINTRESOURCEW(id), useDib)) {
    slot = std::move(image);
  }
  return slot.get();
}
