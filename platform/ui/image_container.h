// A cache of pictures loaded from a module's resources: each id is loaded once
// and the same ImagingHelper is handed out for it every time. The container
// owns the pictures and frees them when it is destroyed.
#pragma once

#include <map>
#include <memory>
#include <utility>

#include "platform/ui/imaging_helper.h"

class ImageContainer {
 public:
  ImageContainer();
  ImageContainer(const ImageContainer&) = delete;
  ImageContainer& operator=(const ImageContainer&) = delete;
  ~ImageContainer();

  // The picture of RCDATA resource `id` of the module. A missing resource
  // gives null (and is not retried on every call).
  ImagingHelper* LoadImageW(HINSTANCE hInstance, UINT id, bool useDib = true);
  std::size_t GetImageCount() const { return images_.size(); }

 private:
  std::map<std::pair<HINSTANCE, UINT>, std::unique_ptr<ImagingHelper>> images_;
};
