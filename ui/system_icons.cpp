#include "ui/system_icons.h"

#include <utility>

#include "support/win32/shell.h"
#include "ui/scaling.h"

namespace velbrook::ui {

namespace {

int IconSize(HIMAGELIST images) {
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(images, &width, &height);
    return width;
}

} // namespace

HIMAGELIST SystemIcons::For(int dpi) {
    if (shared_ == nullptr)
        shared_ = win32::SystemSmallImages();
    previous_.reset();
    if (dpi == SystemDpi() || shared_ == nullptr) {
        previous_ = std::move(copies_);
        dpi_ = dpi;
        return shared_;
    }
    if (dpi != dpi_ || !copies_) {
        previous_ = std::move(copies_);
        dpi_ = dpi;
        const int size = MulDiv(IconSize(shared_), dpi, SystemDpi());
        // Scaled down from the large icons where the small ones would be enlarged.
        const HIMAGELIST large = win32::SystemLargeImages();
        source_ = size > IconSize(shared_) && large != nullptr ? large : shared_;
        copies_.reset(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 0, 8));
        if (const int count = ImageList_GetImageCount(shared_); count > 0)
            Cover(count - 1);
    }
    return copies_.get();
}

int SystemIcons::Cover(int index) {
    if (!copies_)
        return index;
    const int had = ImageList_GetImageCount(copies_.get());
    if (index < had || !ImageList_SetImageCount(copies_.get(), index + 1))
        return index;
    for (int i = had; i <= index; ++i) {
        const win32::Icon icon(ImageList_GetIcon(source_, i, ILD_NORMAL));
        if (icon)
            ImageList_ReplaceIcon(copies_.get(), i, icon.get());
    }
    return index;
}

} // namespace velbrook::ui
