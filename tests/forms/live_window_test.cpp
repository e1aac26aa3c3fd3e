// Loading and living windows: the order of the first events, control ids
// and Z order, the edit boxes' input modes as the user types, the window's
// keys, closing (asked, queued, immediate), and the unit table's return to
// its loaded-time state when the window goes.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "forms/close_window.h"
#include "forms/event_dispatch.h"
#include "forms/loaded_window.h"
#include "forms/private_messages.h"
#include "forms/property_access.h"
#include "forms/unit_object.h"
#include "forms/window_help.h"
#include "forms/window_unit.h"
#include "live_fixture.h"
#include "platform/desk/kernel32/log.h"
#include "runtime/command.h"
#include "runtime/memory.h"

namespace {

using Entry = std::pair<int, int>;

size_t Find(const EventLog& log, Entry entry, size_t from = 0) {
    auto it = std::find(log.begin() + static_cast<std::ptrdiff_t>(std::min(from, log.size())),
                        log.end(), entry);
    return static_cast<size_t>(it - log.begin());
}

size_t Count(const EventLog& log, Entry entry) {
    return static_cast<size_t>(std::count(log.begin(), log.end(), entry));
}

// Event 0 of the window looks at the window as it is at that moment.
struct CreatedProbe {
    bool ran;
    bool visible;
    int controls;
};
CreatedProbe g_probe;

bool ProbeCreated(const uint32_t*, int32_t, uint32_t*) {
    UnitObject* window = LiveWindowObject(*FindWindowTemplate(kLiveWindowId));
    g_probe.ran = true;
    g_probe.visible = window != nullptr && IsWindowVisible(window->hwnd);
    g_probe.controls = 0;
    for (HWND c = GetWindow(window->hwnd, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT))
        ++g_probe.controls;
    Events().emplace_back(0, 0);
    return false;
}

bool RefuseClose(const uint32_t*, int32_t, uint32_t* result) {
    Events().emplace_back(0, 1);
    *result = 0;
    return true;
}

bool AddArguments(const uint32_t* args, int32_t count, uint32_t* result) {
    *result = count == 2 ? args[0] + args[1] : 0xFFFFFFFF;
    return true;
}

uint32_t g_idleArgument;
bool WantMoreIdle(const uint32_t* args, int32_t, uint32_t* result) {
    g_idleArgument = args[0];
    *result = 1;
    return true;
}

void CloseWindowCommand(uint32_t windowId, uint32_t unitId, bool withArgument, bool atOnce) {
    ArgValue args[2] = {ArgValue{windowId, unitId, DT_WINDOW},
                        withArgument ? MakeBool(atOnce) : MakeOmitted()};
    CallCoreCommand(CoreCommandEntry(kCmdCloseWindow), 2, args);
}

void WriteText(uint32_t unitId, int32_t property, const char* text) {
    WriteProperty(kLiveWindowId, unitId, property, -1, ToWord(text), 0);
}

std::string ReadText(uint32_t unitId, int32_t property) {
    char* text =
        FromWord<char>(static_cast<Word>(ReadProperty(kLiveWindowId, unitId, property, -1)));
    std::string copy = text != nullptr ? text : "";
    Release(text);
    return copy;
}

}  // namespace

TEST_F(LiveWindowTest, FirstEventsComeBeforeTheWindowShowsThenFocusGoesToTheFirstBox) {
    LiveWindowSource source;
    source.window.events[0].handlerOffset = HandlerAddress(ProbeCreated);
    g_probe = CreatedProbe{};
    Load(source);

    ASSERT_TRUE(g_probe.ran);
    EXPECT_FALSE(g_probe.visible) << "event 0 runs before the window is shown";
    EXPECT_EQ(g_probe.controls, 4) << "every control exists when event 0 runs";
    const EventLog& log = Events();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], Entry(0, 0));
    EXPECT_EQ(log[1], Entry(0, 3));
    EXPECT_EQ(log[2], Entry(0, 4));
    size_t shown = Find(log, {0, 10});
    size_t first = Find(log, {0, 8});
    size_t active = Find(log, {0, 5});
    size_t focus = Find(log, {2, -7});
    EXPECT_LT(shown, first);
    EXPECT_LT(first, active) << "the first activation comes before event 5";
    EXPECT_LT(active, focus);
    EXPECT_LT(focus, log.size());
    EXPECT_EQ(Count(log, {2, -7}), 1u) << "the focused box hears of the focus once";
    EXPECT_EQ(Count(log, {0, 8}), 1u);
    EXPECT_TRUE(IsWindowVisible(hwnd_));
    EXPECT_EQ(GetFocus(), Control(kLiveIntBoxControl));
}

TEST_F(LiveWindowTest, ControlIdsCountFromTheLastUnitAndZOrderFollowsTheTable) {
    Load();
    const int expected[] = {kLiveLabelControl, kLiveIntBoxControl, kLiveByteBoxControl,
                            kLiveButtonControl};
    HWND child = GetWindow(hwnd_, GW_CHILD);
    for (int id : expected) {
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(GetDlgCtrlID(child), id);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr);
    EXPECT_EQ(TextOf(Control(kLiveLabelControl)), "标签");
    EXPECT_EQ(TextOf(Control(kLiveButtonControl)), "确定");
    RECT rect;
    GetWindowRect(hwnd_, &rect);
    // Start position 1 centres it on the screen.
    EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 300) / 2);
    EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - 200) / 2);
}

TEST_F(LiveWindowTest, Mode7BoxTakesOnlyMinusAndDigitsAndNormalisesOnLeaving) {
    Load();
    HWND box = Control(kLiveIntBoxControl);
    Type("1a2-b3.5");
    EXPECT_EQ(TextOf(box), "12-35");
    EXPECT_EQ(Count(Events(), {2, 0}), 5u) << "one change event per accepted character";
    Events().clear();

    Press(VK_TAB);
    EXPECT_EQ(TextOf(box), "12");
    const EventLog& log = Events();
    size_t change = Find(log, {2, 0});
    size_t lost = Find(log, {2, -8});
    size_t next = Find(log, {3, -7});
    ASSERT_LT(next, log.size());
    EXPECT_LT(change, lost) << "the content is normalised before event -8";
    EXPECT_LT(lost, next);

    // Back with Shift+Tab: the content is selected, so typing replaces it.
    const struct {
        const char* typed;
        const char* after;
    } cases[] = {
        {"0000", ""}, {"99999999999", "2147483647"}, {"-99999999999", "-2147483648"}, {"-0", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Press(VK_TAB, true);
        ASSERT_EQ(GetFocus(), box);
        Type(c.typed);
        EXPECT_EQ(TextOf(box), c.typed);
        Press(VK_TAB);
        EXPECT_EQ(TextOf(box), c.after);
    }
}

TEST_F(LiveWindowTest, Mode5BoxClampsTo255AndEmptiesNegatives) {
    Load();
    HWND box = Control(kLiveByteBoxControl);
    Press(VK_TAB);
    ASSERT_EQ(GetFocus(), box);
    Type("-300");
    EXPECT_EQ(TextOf(box), "300") << "mode 5 refuses the minus sign";
    Press(VK_TAB);
    EXPECT_EQ(TextOf(box), "255");

    WriteText(kLiveByteBoxId, 8, "-4");
    EXPECT_EQ(TextOf(box), "-4") << "written content is not filtered";
    SetFocus(box);
    SetFocus(hwnd_);
    EXPECT_EQ(TextOf(box), "");
}

TEST_F(LiveWindowTest, WritingTheContentRaisesOneChangeAndReadingSeesTyping) {
    Load();
    Events().clear();
    WriteText(kLiveIntBoxId, 8, "123");
    EXPECT_EQ(Events(), EventLog({{2, 0}}));
    EXPECT_EQ(TextOf(Control(kLiveIntBoxControl)), "123");
    EXPECT_EQ(ReadText(kLiveIntBoxId, 8), "123");

    Press(VK_END);
    Type("45");
    EXPECT_EQ(ReadText(kLiveIntBoxId, 8), "12345") << "reading takes what the user typed";
}

TEST_F(LiveWindowTest, TabAndShiftTabWalkTheTabStopsInTableOrder) {
    Load();
    EXPECT_EQ(GetFocus(), Control(kLiveIntBoxControl));
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), Control(kLiveByteBoxControl));
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), Control(kLiveButtonControl));
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), Control(kLiveIntBoxControl)) << "Tab wraps around";
    Press(VK_TAB, true);
    EXPECT_EQ(GetFocus(), Control(kLiveButtonControl));
    EXPECT_EQ(Count(Events(), {4, -7}), 2u);
    EXPECT_EQ(Count(Events(), {4, -8}), 1u);
}

TEST_F(LiveWindowTest, EnterClicksTheDefaultButtonOnly) {
    Load();
    Press(VK_RETURN);
    EXPECT_EQ(Count(Events(), {4, 0}), 0u) << "no default button, nothing to click";

    LiveWindowSource source;
    ButtonProps props;
    props.caption = "确定";
    props.buttonType = 1;
    source.button.propertyBlock = WriteButtonProps(props);
    TearDown();
    Load(source);
    Press(VK_RETURN);
    EXPECT_EQ(Count(Events(), {4, 0}), 1u);
    EXPECT_EQ(GetFocus(), Control(kLiveIntBoxControl)) << "Enter leaves the focus where it was";
}

TEST_F(LiveWindowTest, EscapeAsksTheWindowToCloseAndTheLastWindowEndsTheLoop) {
    Load();
    g_app.loopStarted = true;
    Press(VK_ESCAPE);
    EXPECT_FALSE(IsWindow(hwnd_));
    EXPECT_LT(Find(Events(), {0, 1}), Find(Events(), {0, 2}));
    EXPECT_FALSE(AnyWindowLoaded());
    EXPECT_TRUE(QuitPosted());
}

TEST(WindowHelpFile, WithoutAStoredNameItIsTheProgramsNameWithHlp) {
    const std::string keptFolder = g_app.folderSlash, keptName = g_app.fileName;
    WindowProps props;
    g_app.folderSlash = "C:\\游戏\\";
    g_app.fileName = "dropedit.v2.exe";
    EXPECT_EQ(WindowHelpFile(props), "") << "the F1 option is off";
    props.f1Help = 1;
    EXPECT_EQ(WindowHelpFile(props), "C:\\游戏\\dropedit.v2.hlp");
    g_app.fileName = "dropedit";
    EXPECT_EQ(WindowHelpFile(props), "C:\\游戏\\dropedit.hlp");
    props.helpFile = "manual.hlp";
    EXPECT_EQ(WindowHelpFile(props), "manual.hlp");
    g_app.folderSlash = keptFolder;
    g_app.fileName = keptName;
}

TEST_F(LiveWindowTest, AWindowGoneBeforeTheLoopStartedPostsNoQuit) {
    Load();
    Press(VK_ESCAPE);
    EXPECT_FALSE(IsWindow(hwnd_));
    EXPECT_FALSE(QuitPosted());
}

TEST_F(LiveWindowTest, CloseQueryReturningZeroKeepsTheWindow) {
    LiveWindowSource source;
    source.window.events[1].handlerOffset = HandlerAddress(RefuseClose);
    Load(source);
    Press(VK_ESCAPE);
    SendMessageA(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(IsWindow(hwnd_));
    EXPECT_EQ(Count(Events(), {0, 1}), 2u);
    EXPECT_EQ(Count(Events(), {0, 2}), 0u);
}

TEST_F(LiveWindowTest, QueuedCloseWindowGoesWhenEventsAreProcessedWithoutTheCloseQuery) {
    Load();
    Events().clear();
    CloseWindowCommand(kLiveWindowId, kLiveWindowUnit, false, false);
    EXPECT_TRUE(IsWindow(hwnd_)) << "queued: nothing happens before the request is handled";
    Pump();
    EXPECT_FALSE(IsWindow(hwnd_));
    EXPECT_EQ(Count(Events(), {0, 1}), 0u);
    EXPECT_EQ(Count(Events(), {0, 2}), 1u);
}

TEST_F(LiveWindowTest, ImmediateCloseWindowDestroysAtOnce) {
    Load();
    CloseWindowCommand(kLiveWindowId, kLiveWindowUnit, true, true);
    EXPECT_FALSE(IsWindow(hwnd_));
    EXPECT_EQ(Count(Events(), {0, 1}), 0u);
    EXPECT_EQ(Count(Events(), {0, 2}), 1u);
}

TEST_F(LiveWindowTest, LoadingAWindowMarkedAsClosingReplacesIt) {
    Load();
    g_app.loopStarted = true;
    CloseWindowCommand(kLiveWindowId, kLiveWindowUnit, true, false);
    ASSERT_EQ(LoadWindow(template_, 0, 0, nullptr), 1);
    HWND fresh = FindMainHwnd();
    EXPECT_NE(fresh, hwnd_);
    EXPECT_FALSE(IsWindow(hwnd_));
    EXPECT_FALSE(QuitPosted()) << "the program never ran out of windows";
    Pump();  // the stale request finds the new window not marked
    EXPECT_TRUE(IsWindow(fresh));
}

TEST_F(LiveWindowTest, ClosingAControlTakesItsRecordOutUntilTheWindowGoes) {
    Load();
    HWND label = Control(kLiveLabelControl);
    CloseWindowCommand(kLiveWindowId, kLiveLabelId, false, false);
    EXPECT_FALSE(IsWindow(label));
    EXPECT_EQ(FindUnitIndex(*template_, kLiveLabelId), -1);
    EXPECT_EQ(template_->unitCount, 4u);
    EXPECT_EQ(ReadText(kLiveIntBoxId, 8), "") << "the other units are still found";

    DestroyWindow(hwnd_);
    EXPECT_EQ(template_->unitCount, 5u);
    EXPECT_EQ(FindUnitIndex(*template_, kLiveLabelId), 1);
}

TEST_F(LiveWindowTest, ChangesMadeWhileLoadedDoNotOutliveTheWindow) {
    Load();
    DestroyWindow(hwnd_);
    std::vector<uint8_t> before = template_->units;  // as read from the segment
    ASSERT_EQ(LoadWindow(template_, 0, 0, nullptr), 1);
    hwnd_ = FindMainHwnd();
    WriteText(kLiveLabelId, 8, "改过的");
    WriteText(kLiveLabelId, 4, "标记");
    WriteProperty(kLiveWindowId, kLiveLabelId, 2, -1, 77, 0);
    EXPECT_EQ(ReadText(kLiveLabelId, 8), "改过的");
    EXPECT_NE(template_->units, before);

    DestroyWindow(hwnd_);
    UnitView unit;
    ASSERT_TRUE(GetUnit(*template_, 1, &unit));
    EXPECT_EQ(UnitObjectSlot(unit), 0u);
    EXPECT_EQ(template_->units, before) << "the unit table is back as it was at load";

    ASSERT_EQ(LoadWindow(template_, 0, 0, nullptr), 1);
    hwnd_ = FindMainHwnd();
    EXPECT_EQ(TextOf(Control(kLiveLabelControl)), "标签");
    EXPECT_EQ(ReadProperty(kLiveWindowId, kLiveLabelId, 2, -1), 120u);
}

TEST_F(LiveWindowTest, LoadingAnOpenWindowAgainOnlyActivatesOrRestoresIt) {
    Load();
    ShowWindow(hwnd_, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(hwnd_));
    Events().clear();
    EXPECT_EQ(LoadWindow(template_, 0, 0, nullptr), 1);
    EXPECT_EQ(FindMainHwnd(), hwnd_);
    EXPECT_FALSE(IsIconic(hwnd_));
    EXPECT_EQ(Count(Events(), {0, 0}), 0u) << "no second creation";
}

TEST_F(LiveWindowTest, SuppressedEventsReachNoRoutine) {
    Load();
    Events().clear();
    ++g_runtime.suppressEvents;
    WriteText(kLiveIntBoxId, 8, "5");
    Press(VK_TAB);
    --g_runtime.suppressEvents;
    EXPECT_TRUE(Events().empty());
    WriteText(kLiveIntBoxId, 8, "6");
    EXPECT_EQ(Events(), EventLog({{2, 0}}));
}

TEST_F(LiveWindowTest, AnEventWithoutABindingCallsNothing) {
    LiveWindowSource source;
    source.button.events = {{0, kNoHandler}};
    Load(source);
    Events().clear();
    EventRecord record = {kLiveWindowId, kLiveButtonId, 0, 0, {}, 0, 0};
    EXPECT_EQ(RaiseEvent(&record), 0);
    record.eventIndex = 9;  // bound to nothing at all
    EXPECT_EQ(RaiseEvent(&record), 0);
    SendMessageA(Control(kLiveButtonControl), BM_CLICK, 0, 0);
    EXPECT_EQ(Count(Events(), {4, 0}), 0u);
    EXPECT_EQ(record.resultPresent, 0u);
}

TEST_F(LiveWindowTest, EventSourceLendsAnotherUnitsBindingsOfTheSameType) {
    LiveWindowSource source;
    source.byteBox.eventSource = kLiveIntBoxId;  // same type: its routines are used
    source.button.eventSource = kLiveLabelId;    // another type: ignored
    Load(source);
    Events().clear();
    WriteText(kLiveByteBoxId, 8, "1");
    SendMessageA(Control(kLiveButtonControl), BM_CLICK, 0, 0);
    EXPECT_EQ(Count(Events(), {2, 0}), 1u);
    EXPECT_EQ(Count(Events(), {3, 0}), 0u);
    EXPECT_EQ(Count(Events(), {4, 0}), 1u);
}

TEST_F(LiveWindowTest, ALabelAnswersItsPrivateRequestThroughEvent0) {
    LiveWindowSource source;
    source.label.events = {{0, HandlerAddress(AddArguments)}};
    Load(source);
    EXPECT_EQ(SendMessageA(Control(kLiveLabelControl), kMsgLabelRequest, 5, 6), 11);
}

TEST_F(LiveWindowTest, IdleEventsTellTheElapsedTimeAndSilentWindowsDecline) {
    LiveWindowSource source;
    source.window.events.push_back({7, HandlerAddress(WantMoreIdle)});
    Load(source);
    g_idleArgument = 0;
    EXPECT_TRUE(RaiseIdleEvents(42));
    EXPECT_EQ(g_idleArgument, 42u);

    TearDown();
    Load();  // event 7 bound to a routine that returns nothing
    EXPECT_FALSE(RaiseIdleEvents(1));
    Events().clear();
    EXPECT_FALSE(RaiseIdleEvents(2));
    EXPECT_TRUE(Events().empty()) << "a window that declined hears nothing more in this phase";
    g_app.declinedIdle.clear();
}

namespace {

uint32_t g_trayAction;
bool RecordTray(const uint32_t* args, int32_t count, uint32_t*) {
    g_trayAction = count == 1 ? args[0] : 0xFFFFFFFF;
    Events().emplace_back(0, 9);
    return false;
}

struct Source {
    uint32_t window;
    uint32_t unit;
};
std::vector<Source> g_sources;

// Records the current event source, and writes a property whose change
// event runs inside this routine.
bool NestedSource(const uint32_t*, int32_t, uint32_t*) {
    g_sources.push_back({g_app.eventSourceWindow, g_app.eventSourceUnit});
    WriteProperty(kLiveWindowId, kLiveIntBoxId, 8, -1, ToWord("1"), 0);
    g_sources.push_back({g_app.eventSourceWindow, g_app.eventSourceUnit});
    return false;
}

bool InnerSource(const uint32_t*, int32_t, uint32_t*) {
    g_sources.push_back({g_app.eventSourceWindow, g_app.eventSourceUnit});
    return false;
}

LRESULT CALLBACK PlainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

TEST_F(LiveWindowTest, PlatformMessagesBecomeTheWindowsEvents) {
    LiveWindowSource source;
    source.window.events.push_back({9, HandlerAddress(RecordTray)});
    Load(source);
    Events().clear();

    ShowWindow(hwnd_, SW_HIDE);
    ShowWindow(hwnd_, SW_SHOW);
    EXPECT_EQ(Find(Events(), {0, 11}), 0u);
    EXPECT_LT(Find(Events(), {0, 10}), Events().size());

    Events().clear();
    SetWindowPos(hwnd_, nullptr, 5, 6, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(hwnd_, nullptr, 0, 0, 310, 210, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Events(), EventLog({{0, 3}, {0, 4}}));

    Events().clear();
    SendMessageA(hwnd_, kMsgTrayIcon, 0, WM_LBUTTONDBLCLK);
    EXPECT_EQ(g_trayAction, 2u);
    SendMessageA(hwnd_, kMsgTrayIcon, 0, WM_RBUTTONUP);
    EXPECT_EQ(g_trayAction, 3u);
    SendMessageA(hwnd_, kMsgTrayIcon, 0, WM_MOUSEMOVE);  // raises nothing
    EXPECT_EQ(Count(Events(), {0, 9}), 2u);

    // Another window takes the activation, then ours takes it back: the
    // box that had the focus gets it again, and event 8 stays a first.
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PlainProc;
    wc.lpszClassName = "LiveTestOther";
    RegisterClassA(&wc);
    HWND other = CreateWindowExA(0, "LiveTestOther", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 100, 100, nullptr, nullptr, nullptr, nullptr);
    Press(VK_TAB);  // the focus is in the other window: nothing of ours moves
    Events().clear();
    SetActiveWindow(hwnd_);
    EXPECT_EQ(GetFocus(), Control(kLiveIntBoxControl));
    EXPECT_EQ(Events(), EventLog({{0, 5}, {2, -7}}));
    Events().clear();
    SetActiveWindow(other);
    EXPECT_EQ(Events(), EventLog({{0, 6}, {2, -8}})) << "Win32 deactivates before the focus goes";
    DestroyWindow(other);
}

TEST_F(LiveWindowTest, TheCurrentEventSourceNamesTheInnermostRoutineUntilItReturns) {
    LiveWindowSource source;
    source.button.events = {{0, HandlerAddress(NestedSource)}};
    source.intBox.events = {{0, HandlerAddress(InnerSource)}};
    Load(source);
    g_sources.clear();
    SendMessageA(Control(kLiveButtonControl), BM_CLICK, 0, 0);
    ASSERT_EQ(g_sources.size(), 3u);
    EXPECT_EQ(g_sources[0].window, kLiveWindowId);
    EXPECT_EQ(g_sources[0].unit, kLiveButtonId);
    EXPECT_EQ(g_sources[1].window, kLiveWindowId);
    EXPECT_EQ(g_sources[1].unit, kLiveIntBoxId) << "the change event ran inside the click";
    EXPECT_EQ(g_sources[2].window, 0u) << "cleared when the inner routine returned";
    EXPECT_EQ(g_app.eventSourceWindow, 0u);
}
