// A small window for live tests: a label, two edit boxes (input modes 7 and
// 5) and a button, with every event of the window and of the controls
// bound to recorders. Unit tags in the event log: 0 the window, then the
// unit table index of the control.
#pragma once

#include <functional>

#include "forms/button_props.h"
#include "forms/editbox_props.h"
#include "forms/label_props.h"
#include "forms/template_writer.h"
#include "forms/unit_ids.h"
#include "forms/unit_object.h"
#include "forms/window_props.h"
#include "live_runtime.h"

constexpr uint32_t kLiveWindowId = 0x52010009;
constexpr uint32_t kLiveWindowUnit = 0x06010000;
constexpr uint32_t kLiveLabelId = 0x16010001;
constexpr uint32_t kLiveIntBoxId = 0x16010002;   // input mode 7
constexpr uint32_t kLiveByteBoxId = 0x16010003;  // input mode 5
constexpr uint32_t kLiveButtonId = 0x16010004;
// Control ids: created from the last index down, from 100 in steps of 10.
constexpr int kLiveButtonControl = 100;
constexpr int kLiveByteBoxControl = 110;
constexpr int kLiveIntBoxControl = 120;
constexpr int kLiveLabelControl = 130;

template <int Unit>
std::vector<EventBinding> RecordEvents(std::initializer_list<int> events) {
    std::vector<EventBinding> bindings;
    for (int e : events) {
        EventHandler handler = nullptr;
        switch (e) {
            case -8:
                handler = Recorder<Unit, -8>;
                break;
            case -7:
                handler = Recorder<Unit, -7>;
                break;
            case 0:
                handler = Recorder<Unit, 0>;
                break;
            case 1:
                handler = Recorder<Unit, 1>;
                break;
            case 2:
                handler = Recorder<Unit, 2>;
                break;
            case 3:
                handler = Recorder<Unit, 3>;
                break;
            case 4:
                handler = Recorder<Unit, 4>;
                break;
            case 5:
                handler = Recorder<Unit, 5>;
                break;
            case 6:
                handler = Recorder<Unit, 6>;
                break;
            case 7:
                handler = Recorder<Unit, 7>;
                break;
            case 8:
                handler = Recorder<Unit, 8>;
                break;
            case 10:
                handler = Recorder<Unit, 10>;
                break;
            case 11:
                handler = Recorder<Unit, 11>;
                break;
            default:
                break;
        }
        bindings.push_back(EventBinding{e, HandlerAddress(handler)});
    }
    return bindings;
}

struct LiveWindowSource {
    UnitSource window;
    UnitSource label;
    UnitSource intBox;
    UnitSource byteBox;
    UnitSource button;

    LiveWindowSource() {
        WindowProps wp;
        wp.caption = "活窗口";
        window.id = kLiveWindowUnit;
        window.unitType = DT_WINDOW;
        window.left = 10;
        window.top = 20;
        window.width = 300;
        window.height = 200;
        window.events = RecordEvents<0>({0, 1, 2, 3, 4, 5, 6, 8, 10, 11, -7, -8});
        window.propertyBlock = WriteWindowProps(wp);

        LabelProps lp;
        lp.caption = "标签";
        label = Control(kLiveLabelId, DT_LABEL, "标签1", 10, 10);
        label.propertyBlock = WriteLabelProps(lp);

        EditBoxProps ep;
        ep.inputMode = 7;
        ep.maxLength = 12;
        intBox = Control(kLiveIntBoxId, DT_EDIT_BOX, "编辑框1", 10, 50);
        intBox.flags = kUnitVisible | kUnitTabStop;
        intBox.events = RecordEvents<2>({0, -7, -8});
        intBox.propertyBlock = WriteEditBoxProps(ep);

        ep.inputMode = 5;
        byteBox = Control(kLiveByteBoxId, DT_EDIT_BOX, "编辑框2", 10, 90);
        byteBox.flags = kUnitVisible | kUnitTabStop;
        byteBox.events = RecordEvents<3>({0, -7, -8});
        byteBox.propertyBlock = WriteEditBoxProps(ep);

        ButtonProps bp;
        bp.caption = "确定";
        button = Control(kLiveButtonId, DT_BUTTON, "按钮1", 10, 130);
        button.flags = kUnitVisible | kUnitTabStop;
        button.events = RecordEvents<4>({0, -7, -8});
        button.propertyBlock = WriteButtonProps(bp);
    }

    static UnitSource Control(uint32_t id, Word type, const char* name, int left, int top) {
        UnitSource unit;
        unit.id = id;
        unit.unitType = type;
        unit.name = name;
        unit.left = left;
        unit.top = top;
        unit.width = 120;
        unit.height = 30;
        return unit;
    }

    std::vector<uint8_t> Segment() const {
        WindowSource source;
        source.windowId = kLiveWindowId;
        AddUnit(&source, window);
        AddUnit(&source, label);
        AddUnit(&source, intBox);
        AddUnit(&source, byteBox);
        AddUnit(&source, button);
        return WriteTemplateSegment({source});
    }
};

// A window whose property block the test shapes.
inline LiveWindowSource WindowWith(const std::function<void(WindowProps*)>& shape) {
    LiveWindowSource source;
    WindowProps wp;
    wp.caption = "活窗口";
    shape(&wp);
    source.window.propertyBlock = WriteWindowProps(wp);
    return source;
}

class LiveWindowTest : public LiveRuntime {
  protected:
    void Load(const LiveWindowSource& source = LiveWindowSource()) {
        StartWith(source.Segment());
        template_ = FindWindowTemplate(kLiveWindowId);
        ASSERT_NE(template_, nullptr);
        SetLastError(0);
        ASSERT_EQ(LoadWindow(template_, 0, 0, nullptr), 1) << "last error " << GetLastError();
        hwnd_ = FindMainHwnd();
    }

    HWND FindMainHwnd() {
        UnitView unit;
        if (!GetUnit(*template_, 0, &unit)) return nullptr;
        auto* object = reinterpret_cast<UnitObject*>(static_cast<uintptr_t>(UnitObjectSlot(unit)));
        return object != nullptr ? object->hwnd : nullptr;
    }

    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }

    WindowTemplate* template_ = nullptr;
    HWND hwnd_ = nullptr;
};
