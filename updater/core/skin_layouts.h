#pragma once
// The updater's skins: for each dialog its four pictures (resource ids) and the layout
// strings of its buttons, in the order the buttons are made. The pictures hold every word
// the user reads; see updater/art/draw_skins.py.

#include <array>
#include <cstddef>

namespace brenik::updater {

enum class ButtonAction { kResultOk, kResultCancel, kProgressRect };

struct ButtonEntry {
    const char* layout;
    ButtonAction action;
};

struct SkinSpec {
    int region;
    int normal;   // also the background and the disabled look
    int hover;
    int pressed;
    std::size_t buttonCount;
    std::array<ButtonEntry, 3> buttons;
};

// Dialog results.
constexpr int kResultOk = 1;
constexpr int kResultCancel = 2;

constexpr SkinSpec kMainSkin = {154, 151, 152, 153, 2,
                                {{{"BUTTON_EXIT,412,2,30,30,", ButtonAction::kResultCancel},
                                  {"BUTTON_Progress,30,161,394,19,", ButtonAction::kProgressRect},
                                  {nullptr, ButtonAction::kResultOk}}}};
constexpr SkinSpec kConfirmSkin = {158, 155, 156, 157, 3,
                                   {{{"BUTTON_OK,88,167,75,37,", ButtonAction::kResultOk},
                                     {"BUTTON_CANCEL,170,167,75,37,", ButtonAction::kResultCancel},
                                     {"BUTTON_EXIT,302,2,30,30,", ButtonAction::kResultCancel}}}};
constexpr ButtonEntry kMessageOk = {"BUTTON_OK,129,168,78,35,", ButtonAction::kResultOk};
constexpr ButtonEntry kMessageExit = {"BUTTON_EXIT,302,2,30,30", ButtonAction::kResultCancel};
constexpr SkinSpec kFailSkin = {160, 161, 162, 159, 2, {{kMessageOk, kMessageExit, {nullptr, ButtonAction::kResultOk}}}};
constexpr SkinSpec kSuccessSkin = {163, 164, 165, 166, 2, {{kMessageOk, kMessageExit, {nullptr, ButtonAction::kResultOk}}}};
constexpr SkinSpec kDriverSkin = {173, 175, 176, 174, 2, {{kMessageOk, kMessageExit, {nullptr, ButtonAction::kResultOk}}}};

// Client sizes the pictures are drawn at.
constexpr int kMainSkinWidth = 450;
constexpr int kMessageSkinWidth = 340;
constexpr int kSkinHeight = 209;

}  // namespace brenik::updater
