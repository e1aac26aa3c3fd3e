// Small template segments for the reader's tests, written with the template
// writer: a window, a label, a button bound to two routines and (optionally)
// a menu item, with handler offsets the tests can recognise.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "forms/button_props.h"
#include "forms/label_props.h"
#include "forms/template_writer.h"
#include "forms/unit_ids.h"
#include "forms/window_props.h"
#include "forms/window_table.h"

constexpr uint32_t kTestWindowId = 0x52010007;
constexpr uint32_t kTestWindowUnit = 0x06010000;
constexpr uint32_t kTestLabelId = 0x16010010;
constexpr uint32_t kTestButtonId = 0x16010011;
constexpr uint32_t kTestMenuItemId = 0x26010012;

inline UnitSource TestWindowUnit(Word handler = 0x100) {
    UnitSource unit;
    unit.id = kTestWindowUnit;
    unit.unitType = DT_WINDOW;
    unit.left = 50;
    unit.top = 60;
    unit.width = 300;
    unit.height = 200;
    unit.events = {{0, handler}};
    WindowProps props;
    props.caption = "测试窗口";
    unit.propertyBlock = WriteWindowProps(props);
    return unit;
}

inline UnitSource TestLabel(const char* tag = "") {
    UnitSource unit;
    unit.id = kTestLabelId;
    unit.unitType = DT_LABEL;
    unit.name = "标签1";
    unit.left = 10;
    unit.top = 20;
    unit.width = 100;
    unit.height = 32;
    unit.tag = tag;
    LabelProps props;
    props.caption = "一个标签";
    unit.propertyBlock = WriteLabelProps(props);
    return unit;
}

inline UnitSource TestButton() {
    UnitSource unit;
    unit.id = kTestButtonId;
    unit.unitType = DT_BUTTON;
    unit.name = "按钮1";
    unit.left = -5;
    unit.top = 7;
    unit.width = 80;
    unit.height = 24;
    unit.flags = kUnitVisible | kUnitTabStop;
    unit.focusOrder = 3;
    unit.children = {0x16010099, 0, 0x1601009A};
    unit.events = {{-7, kNoHandler}, {0, 0x200}, {0, 0x300}};
    ButtonProps props;
    props.caption = "确定";
    unit.propertyBlock = WriteButtonProps(props);
    return unit;
}

inline MenuItemSource TestMenuItem() {
    MenuItemSource item;
    item.id = kTestMenuItemId;
    item.name = "菜单1";
    item.menuFlags = kMenuChecked | kMenuDisabled;
    item.caption = "文件(&F)";
    item.handlerOffset = 0x400;
    return item;
}

inline WindowSource TestWindow(bool withMenu) {
    WindowSource window;
    window.windowId = kTestWindowId;
    window.keptWords[0] = 0x11111111;
    window.keptWords[1] = 0x22222222;
    window.keptTexts[1] = "kept";
    AddUnit(&window, TestWindowUnit());
    if (withMenu) AddMenuItem(&window, TestMenuItem());
    AddUnit(&window, TestLabel());
    AddUnit(&window, TestButton());
    return window;
}

// Every test starts and ends with an empty window table.
class WindowTableTest : public ::testing::Test {
  protected:
    void SetUp() override { ReleaseWindowTable(); }
    void TearDown() override { ReleaseWindowTable(); }
};
