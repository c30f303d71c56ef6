// Image: a picture at its natural size from the top-left corner, clipped to the control.
#pragma once

#include "toolkit/Bitmap.h"
#include "toolkit/Control.h"

namespace tk {

class Image : public GraphicControl {
public:
    explicit Image(Component* owner = nullptr);
    // "TImage": Picture.Data (byte count + BMP or JPEG file), Transparent.
    static const ClassInfo& StaticInfo();
    const ClassInfo& Info() const override { return StaticInfo(); }

    const Bitmap& Picture() const { return picture_; }
    void SetPicture(Bitmap b);

    // Pixels of the colour of the picture's bottom-left pixel are not drawn.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);

    void Paint(Canvas& canvas) override;

private:
    Bitmap picture_;
    std::vector<uint8_t> pictureData_;  // the stored file, written back unchanged
    bool transparent_ = false;
};

}  // namespace tk
