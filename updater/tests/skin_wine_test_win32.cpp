// The skin's Windows pieces on the platform's own GDI and picture loader: every picture of
// the program decodes at its dialog's size, a missing one changes nothing, and the outline
// made from a picture holds exactly its pixels that are not white, however many runs it has.

#include "jpeg_resource_win32.h"
#include "skin_layouts.h"
#include "skin_region_win32.h"

#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace brenik::updater {
namespace {

// A 32-bit bitmap with the given pixels (0x00RRGGBB, rows from the top).
win32::ScopedBitmap MakeBitmap(int width, int height, const std::vector<std::uint32_t>& pixels) {
    const BITMAPINFO format = TopDown32BitFormat(width, height);
    void* bits = nullptr;
    win32::ScopedBitmap bitmap(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bits != nullptr) std::memcpy(bits, pixels.data(), pixels.size() * sizeof(std::uint32_t));
    return bitmap;
}

TEST(SkinPictures, EveryPictureDecodesAtItsDialogsSize) {
    const SkinSpec* skins[] = {&kMainSkin, &kConfirmSkin, &kFailSkin, &kSuccessSkin, &kDriverSkin};
    for (std::size_t row = 0; row < std::size(skins); ++row) {
        const int width = skins[row] == &kMainSkin ? kMainSkinWidth : kMessageSkinWidth;
        for (int id : {skins[row]->region, skins[row]->normal, skins[row]->hover, skins[row]->pressed}) {
            win32::ScopedBitmap bitmap;
            SIZE size{};
            ASSERT_TRUE(LoadJpegResource(GetModuleHandleW(nullptr), id, bitmap, size)) << "row " << row << " id " << id;
            EXPECT_TRUE(bitmap.Valid()) << "id " << id;
            EXPECT_EQ(size.cx, width) << "id " << id;
            EXPECT_EQ(size.cy, kSkinHeight) << "id " << id;
        }
    }
}

TEST(SkinPictures, MissingPictureChangesNothing) {
    win32::ScopedBitmap bitmap(CreateBitmap(3, 2, 1, 32, nullptr));
    const HBITMAP before = bitmap.Get();
    SIZE size{7, 9};
    EXPECT_FALSE(LoadJpegResource(GetModuleHandleW(nullptr), 167, bitmap, size));  // the unused fifth skin
    EXPECT_EQ(bitmap.Get(), before);
    EXPECT_EQ(size.cx, 7);
    EXPECT_EQ(size.cy, 9);
}

TEST(SkinRegion, TheShapePicturesCutTheCornersAndKeepTheMiddle) {
    for (int id : {kMainSkin.region, kConfirmSkin.region, kDriverSkin.region}) {
        win32::ScopedBitmap picture;
        SIZE size{};
        ASSERT_TRUE(LoadJpegResource(GetModuleHandleW(nullptr), id, picture, size)) << id;
        win32::ScopedRegion region = MakeSkinRegion(picture.Get(), RGB(255, 255, 255), 0);
        ASSERT_TRUE(region.Valid()) << id;
        EXPECT_FALSE(PtInRegion(region.Get(), 0, 0)) << id;
        EXPECT_FALSE(PtInRegion(region.Get(), size.cx - 1, 0)) << id;
        EXPECT_FALSE(PtInRegion(region.Get(), 0, size.cy - 1)) << id;
        EXPECT_TRUE(PtInRegion(region.Get(), size.cx / 2, size.cy / 2)) << id;
        EXPECT_TRUE(PtInRegion(region.Get(), 20, 1)) << id << ": the top edge is inside";
        RECT box;
        GetRgnBox(region.Get(), &box);
        EXPECT_EQ(box.right - box.left, size.cx) << id;
        EXPECT_EQ(box.bottom - box.top, size.cy) << id;
    }
}

TEST(SkinRegion, HoldsExactlyThePixelsThatAreNotTheKeyAcrossBatches) {
    // 4001 x 3 pixels in stripes: 2001 runs a row, more than one batch of 2,000 rectangles.
    const int width = 4001, height = 3;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels[static_cast<std::size_t>(y * width + x)] = x % 2 == 0 ? 0x102030 : 0xFFFFFF;
    pixels[1] = 0xFEFFFF;  // one step off white is not the key with tolerance 0
    win32::ScopedBitmap bitmap = MakeBitmap(width, height, pixels);
    win32::ScopedRegion region = MakeSkinRegion(bitmap.Get(), RGB(255, 255, 255), 0);
    ASSERT_TRUE(region.Valid());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool expected = pixels[static_cast<std::size_t>(y * width + x)] != 0xFFFFFF;
            ASSERT_EQ(PtInRegion(region.Get(), x, y) != FALSE, expected) << "x " << x << " y " << y;
        }
    }
    // With a tolerance of 1 the off-white pixel is key colour too.
    win32::ScopedRegion tolerant = MakeSkinRegion(bitmap.Get(), RGB(254, 254, 254), 1);
    EXPECT_FALSE(PtInRegion(tolerant.Get(), 1, 0));
    EXPECT_TRUE(PtInRegion(tolerant.Get(), 0, 0));
}

TEST(SkinRegion, NoPictureNoRegion) {
    EXPECT_FALSE(MakeSkinRegion(nullptr, RGB(255, 255, 255), 0).Valid());
    const std::vector<std::uint32_t> white(16, 0xFFFFFF);
    win32::ScopedBitmap allWhite = MakeBitmap(4, 4, white);
    win32::ScopedRegion region = MakeSkinRegion(allWhite.Get(), RGB(255, 255, 255), 0);
    EXPECT_FALSE(region.Valid()) << "a picture with nothing but the key has no outline";
}

}  // namespace
}  // namespace brenik::updater

int main(int argc, char** argv) {
    OleInitialize(nullptr);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    OleUninitialize();
    return result;
}
