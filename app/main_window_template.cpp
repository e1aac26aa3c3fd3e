// The main window's template, stated unit by unit and written with the
// template writer: what the window looks like, which control is which, and
// which routine each event runs.
#include "app/main_window_template.h"

#include <string>

#include "app/dropedit_icon.h"
#include "forms/border_style.h"
#include "forms/button_numbers.h"
#include "forms/button_props.h"
#include "forms/edit_input.h"
#include "forms/editbox_props.h"
#include "forms/label_props.h"
#include "forms/text_align.h"
#include "forms/template_writer.h"
#include "forms/unit_ids.h"
#include "forms/window_numbers.h"
#include "forms/window_props.h"

namespace {

constexpr int32_t kFontHeight = -12;  // a 12-pixel character height at 96 DPI
constexpr int32_t kNormal = FW_NORMAL;
constexpr int32_t kBold = FW_BOLD;

// The most bytes a number box takes.
constexpr int32_t kNumberBoxLength = 5;

// The words the window template keeps at its head; the form runtime stores
// and writes them back and nothing reads them.
constexpr Word kKeptWords[2] = {0x014564A8, 0x19010002};

// Every captioned control uses one face and size, normal or bold.
FontSet TemplateFont(int32_t weight) {
    return MakeFontSet(kFontHeight, weight, GB2312_CHARSET, OUT_STROKE_PRECIS, CLIP_STROKE_PRECIS,
                       DRAFT_QUALITY, VARIABLE_PITCH | FF_SWISS, "微软雅黑");
}

UnitSource Control(uint32_t id, Word unitType, const char* name, int32_t left, int32_t top,
                   int32_t width, int32_t height) {
    UnitSource unit;
    unit.id = id;
    unit.unitType = unitType;
    unit.name = name;
    unit.left = left;
    unit.top = top;
    unit.width = width;
    unit.height = height;
    return unit;
}

void AddLabel(WindowSource* window, uint32_t id, const char* name, int32_t left, int32_t top,
              int32_t width, const char* caption, int32_t weight, uint32_t textColour = 0) {
    UnitSource unit = Control(id, DT_LABEL, name, left, top, width, 32);
    unit.flags = kUnitVisible;
    LabelProps props;
    props.caption = caption;
    props.font = TemplateFont(weight);
    props.textColour = textColour;
    unit.propertyBlock = WriteLabelProps(props);
    AddUnit(window, unit);
}

// The three number boxes look alike: a plain border, at most five bytes,
// centred, and taking a 32-bit integer.
void AddNumberBox(WindowSource* window, uint32_t id, const char* name, int32_t left, int32_t top) {
    UnitSource unit = Control(id, DT_EDIT_BOX, name, left, top, 56, 32);
    unit.flags = kUnitVisible | kUnitTabStop;
    EditBoxProps props;
    props.borderStyle = kBorderPlain;
    props.maxLength = kNumberBoxLength;
    props.align = kAlignCentre;
    props.inputMode = kInputInt32;
    unit.propertyBlock = WriteEditBoxProps(props);
    AddUnit(window, unit);
}

void AddButton(WindowSource* window, uint32_t id, const char* name, int32_t left, int32_t width,
               const char* caption, Word handler) {
    UnitSource unit = Control(id, DT_BUTTON, name, left, 163, width, 24);
    unit.flags = kUnitVisible | kUnitTabStop;
    unit.events.push_back(EventBinding{kButtonClick, handler});
    ButtonProps props;
    props.caption = caption;
    props.font = TemplateFont(kNormal);
    unit.propertyBlock = WriteButtonProps(props);
    AddUnit(window, unit);
}

void AddWindowUnit(WindowSource* window, Word checkGameFile) {
    // Defaults give a fixed border, the system menu with its close command,
    // no minimise or maximise box, a task-bar button, Escape closing it, and
    // centring on the screen (so the stored 50, 50 is not used for placing).
    WindowProps props;
    props.caption = "Quillmarsh--怪物掉落修改";
    props.icon.assign(kDropeditIcon, kDropeditIcon + kDropeditIconSize);
    UnitSource unit = Control(kMainWindowUnitId, DT_WINDOW, "", 50, 50, 337, 222);
    unit.flags = kUnitVisible;
    unit.events.push_back(EventBinding{kWindowCreated, checkGameFile});
    unit.propertyBlock = WriteWindowProps(props);
    AddUnit(window, unit);
}

}  // namespace

std::vector<uint8_t> BuildMainWindowSegment(const MainWindowHandlers& handlers) {
    WindowSource window;
    window.windowId = kMainWindowId;
    window.keptWords[0] = kKeptWords[0];
    window.keptWords[1] = kKeptWords[1];
    AddWindowUnit(&window, handlers.checkGameFile);

    // In unit table order; the loader creates them from the last one up.
    AddLabel(&window, 0x16010091, "标签9", 208, 120, 182, "水壶获取水的数量", kNormal);
    AddLabel(&window, 0x16010090, "标签8", 17, 121, 111, "附加修改 水壶获取", kBold, 0x808080);
    AddNumberBox(&window, kKettleEditId, "编辑框3", 142, 121);
    AddLabel(&window, kVersionLabelId, "标签7", 176, 5, 152, "非Steam", kBold, 0xFF00FF);
    AddLabel(&window, 0x16010081, "标签5", 18, 4, 158, "您当前使用的游戏版本为：", kBold, 0x008000);
    AddButton(&window, kNotesButtonId, "按钮2", 192, 48, "说明", handlers.showUsageNotes);
    AddButton(&window, kApplyButtonId, "按钮1", 82, 96, "确认修改", handlers.applyChanges);
    AddLabel(&window, 0x1601001F, "标签3", 18, 81, 56, "物品掉落", kBold);
    AddNumberBox(&window, kItemEditId, "编辑框2", 82, 81);
    AddLabel(&window, 0x16010021, "标签4", 146, 81, 182, "倍     怪物特殊物品的掉落倍率", kNormal);
    AddLabel(&window, 0x1601001E, "标签2", 146, 41, 174, "倍     游戏中[肉]的掉落倍率", kNormal);
    AddLabel(&window, 0x1601001D, "标签1", 18, 41, 56, "货币掉落", kBold);
    AddNumberBox(&window, kMeatEditId, "编辑框1", 82, 41);

    return WriteTemplateSegment({window});
}
