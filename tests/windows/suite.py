#!/usr/bin/env python3
"""The Windows end-to-end suite: dropedit.exe under Wine in demo
installations, driven with real X input (xdotool), its windows read through
windump.exe (Win32 itself), the game file's bytes checked after.

Runs inside the Windows bench: python3 suite.py BINDIR OUTDIR [CASE...]
BINDIR holds dropedit.exe, windump.exe, holdfile.exe and make_demo_game;
OUTDIR receives screenshots. Prints one line a case and then
"N passed, N failed"; the exit code is 1 when a case failed.
"""
import os
import shutil
import sqlite3
import subprocess
import sys
import time

from bench import Case, Program, WindowsDesk, fail, wait_until

TITLE = "Quillmarsh--怪物掉落修改"
SLOT_OFFSET = 532160740
SLOT_LENGTH = 2136068
GAME_SIZE = 653572248
# Control ids of the main window, as the template gives them.
MEAT, ITEM, KETTLE, APPLY, NOTES, VERSION_CAPTION = 100, 140, 200, 160, 170, 180

NOTES_TEXT = ("本工具支持版本有0751官方版、0751修正版（含Steam平台）\r\n"
              "将本工具放置在游戏目录，双击使用即可。\r\n")
MISSING_TEXT = ("读取失败，请确保您当前游戏版本为0.751，或者游戏处于关闭状态，且本工具放置于游戏路径下。"
                "\r\n\r\n错误代码:0*0E000001")
HELD_TEXT = ("请将该软件放置在游戏路径下，且关闭可能占用进程的其它软件后，再次开启本软件。"
             "\r\n\r\n错误代码:0*0E000015")
ADVICE = "（只读文件或受保护的文件夹）：请去掉%s的只读属性，或以管理员身份运行本工具，或将游戏移出受保护的文件夹（如C:\\Program Files）。"
READ_ONLY_GAME_TEXT = ("请将该软件放置在游戏路径下，且关闭可能占用进程的其它软件后，再次开启本软件。\r\n"
                       "系统拒绝本工具写入游戏文件" + ADVICE % "PE_Client_Data\\resources.assets" +
                       "\r\n\r\n错误代码:0*0E000015")
READ_ONLY_CACHE_TEXT = ("缓存文件正在被占用，请关闭杀毒软件或者其它读写进程，再次开启本软件。\r\n"
                        "系统拒绝本工具写入缓存文件" + ADVICE % "pe.bin" + "\r\n\r\n错误代码:0*0E000014")


class Suite:
    def __init__(self, bindir, outdir):
        self.bindir = os.path.abspath(bindir)
        self.outdir = os.path.abspath(outdir)
        self.desk = WindowsDesk(os.path.join(self.bindir, "windump.exe"))
        self.work = "/tmp/dropedit-cases"
        self.template = os.path.join(self.work, "template")
        shutil.rmtree(self.work, ignore_errors=True)
        os.makedirs(self.work)
        # One demo installation is made once; each case gets a sparse copy.
        subprocess.run([os.path.join(bindir, "make_demo_game"), self.template, "600", "1"],
                       check=True, stdout=subprocess.DEVNULL)

    def install(self, name, game=True):
        folder = os.path.join(self.work, name)
        shutil.rmtree(folder, ignore_errors=True)
        if game:
            subprocess.run(["cp", "-r", "--sparse=always", self.template, folder], check=True)
        else:
            os.makedirs(folder)
        shutil.copy(os.path.join(self.bindir, "dropedit.exe"), folder)
        return folder

    def start(self, folder):
        return Program(["wine", "dropedit.exe"], folder)

    def main_window(self, program):
        return self.desk.wait_window(program, TITLE, 240)

    def leave(self, program):
        """Escape over the main window ends the program, with exit code 0."""
        # With no window manager, keys go where the pointer is: a click on a
        # label puts it over the window, as a player's would be.
        self.desk.click_control(TITLE, VERSION_CAPTION)
        self.desk.key("Escape")
        code = program.wait(180)
        if code != 0:
            fail("the program ended with %r after Escape, not 0" % code)


def slot(folder):
    with open(os.path.join(folder, "PE_Client_Data", "resources.assets"), "rb") as f:
        f.seek(SLOT_OFFSET)
        return f.read(SLOT_LENGTH)


def outside_slot_digest(folder):
    """A digest of everything outside the slot, read only where data is."""
    import hashlib
    digest = hashlib.sha256()
    path = os.path.join(folder, "PE_Client_Data", "resources.assets")
    with open(path, "rb") as f:
        digest.update(f.read(SLOT_OFFSET))
        f.seek(SLOT_OFFSET + SLOT_LENGTH)
        while True:
            block = f.read(1 << 22)
            if not block:
                break
            digest.update(block)
    return digest.hexdigest(), os.path.getsize(path)


def database(data, path):
    with open(path, "wb") as f:
        f.write(data)
    return sqlite3.connect(path)


def expected_statements(db, meat, item, kettle):
    """The statements of one apply, computed here independently of the
    program: same formula, "%.13g" numbers."""
    rows = db.execute("SELECT monster_ID, meat_drop, item_drop FROM ai_data ORDER BY rowid").fetchall()
    meat_now = float(int(float(rows[0][1].split(";")[0]) / 18.0)) if rows else 0.0
    item_now = float(int(float(rows[0][2].split(";")[0]) / 2.0)) if rows else 0.0

    def scaled(text, now, typed):
        return "%.13g" % (float(text) / now * typed)

    statements = []
    for monster, meat_drop, item_drop in rows:
        m1, m2 = meat_drop.split(";", 1)
        i1, i2 = item_drop.split(";", 1)
        statements.append("update ai_data set meat_drop='%s;%s',item_drop='%s;%s' where monster_ID='%s';" % (
            scaled(m1, meat_now, meat), scaled(m2, meat_now, meat), scaled(i1, item_now, item), i2, monster))
    statements.append("update skill set _itemsGot='0;40010028,%s' where _id='10441';" % kettle)
    return statements


def table(db, name):
    return db.execute("SELECT * FROM %s ORDER BY rowid" % name).fetchall()


def case_start(suite, case):
    folder = suite.install("start")
    program = suite.start(folder)
    window = suite.main_window(program)
    texts = {c["id"]: c["text"] for c in window["controls"]}
    case.expect_equal(texts.get(MEAT), "2", "meat box")
    case.expect_equal(texts.get(ITEM), "2", "item box")
    case.expect_equal(texts.get(KETTLE), "5", "kettle box")
    captions = [c["text"] for c in window["controls"]]
    for caption in ("确认修改", "说明", "您当前使用的游戏版本为：", "0.751（Steam）", "货币掉落", "物品掉落"):
        case.expect(caption in captions, "no control shows %r: %r" % (caption, captions))
    case.expect("非Steam" not in "".join(captions), "the template's version caption is shown")
    case.expect_equal((window["w"], window["h"]), (337, 222), "main window size")
    # The manifest's Common Controls 6 is in force: comctl32 comes from the
    # side-by-side store, not the system folder's version 5.
    case.expect("winsxs" in window["comctl32"] and "6.0." in window["comctl32"],
                "comctl32 loaded from %r" % window["comctl32"])
    suite.desk.screenshot(window, os.path.join(suite.outdir, "main-window-%s.png" % case.locale))
    with open(os.path.join(folder, "pe.bin"), "rb") as f:
        case.expect(f.read() == slot(folder), "pe.bin is not the slot byte for byte")
    suite.leave(program)


def scaled(units, dpi):
    """A 96-DPI length at another scale, rounded as MulDiv rounds."""
    return (units * dpi + 48) // 96


def set_dpi(dpi):
    """The display scale every Wine program of the prefix starts with."""
    subprocess.run(["wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                    "/t", "REG_DWORD", "/d", str(dpi), "/f"], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def start_at_dpi(suite, case, dpi):
    set_dpi(dpi)
    try:
        folder = suite.install("dpi-%d" % dpi)
        program = suite.start(folder)
        window = suite.main_window(program)
        case.expect_equal((window["w"], window["h"]), (scaled(337, dpi), scaled(222, dpi)), "main window size")
        controls = {c["id"]: c for c in window["controls"]}
        apply_button = controls.get(APPLY, {})
        case.expect_equal((apply_button.get("w"), apply_button.get("h")), (scaled(96, dpi), scaled(24, dpi)),
                          "apply button size")
        meat = controls.get(MEAT, {})
        case.expect_equal(meat.get("w"), scaled(56, dpi), "meat box width")
        case.expect(meat.get("h", 0) >= scaled(32, dpi), "meat box height %r" % meat.get("h"))
        case.expect_equal(meat.get("text"), "2", "meat box")
        # Every caption fits its control in the template's font at this scale
        # (measured bold, the wider of the two weights the template uses).
        for c in window["controls"]:
            if c["class"].lower() == "edit" or not c["text"]:
                continue
            w, h = suite.desk.measure(-scaled(12, dpi), 700, "微软雅黑", c["text"])
            case.expect(w <= c["w"] and h <= c["h"],
                        "%r (%dx%d) does not fit its control (%dx%d)" % (c["text"], w, h, c["w"], c["h"]))
        suite.desk.screenshot(window, os.path.join(suite.outdir, "main-window-%d-%s.png" % (dpi, case.locale)))
        suite.leave(program)
    finally:
        set_dpi(96)


def case_dpi_144(suite, case):
    start_at_dpi(suite, case, 144)


def case_dpi_192(suite, case):
    start_at_dpi(suite, case, 192)


def case_apply(suite, case):
    folder = suite.install("apply")
    before = slot(folder)
    outside = outside_slot_digest(folder)
    program = suite.start(folder)
    suite.main_window(program)
    suite.desk.replace_text(TITLE, MEAT, "3")
    suite.desk.replace_text(TITLE, ITEM, "1")
    suite.desk.replace_text(TITLE, KETTLE, "7")
    suite.desk.click_control(TITLE, APPLY)
    box = suite.desk.wait_box(program, "恭喜", 60)
    case.expect_equal(box["message"], "修改成功", "success box text")
    suite.desk.answer(box)
    after = slot(folder)
    case.expect(after != before, "the slot did not change")
    case.expect_equal(outside_slot_digest(folder), outside, "bytes outside the slot")
    original = database(before, "/tmp/original.db")
    applied = database(after, "/tmp/applied.db")
    case.expect_equal(applied.execute("SELECT meat_drop || '/' || item_drop FROM ai_data "
                                      "WHERE monster_ID='1001'").fetchone(), ("54;81/2;1",), "monster 1001")
    case.expect_equal(applied.execute("SELECT _itemsGot FROM skill WHERE _id=10441").fetchone(),
                      ("0;40010028,7",), "kettle")
    for statement in expected_statements(original, 3, 1, "7"):
        original.execute(statement)
    case.expect(table(applied, "ai_data") == table(original, "ai_data"), "ai_data is not rescaled as computed")
    case.expect(table(applied, "skill") == table(original, "skill"), "skill is not as computed")
    case.expect_equal(applied.execute("PRAGMA integrity_check").fetchone(), ("ok",), "integrity")
    # The write record and its slot files go once the game file is written:
    # the folder flush between them must work on Windows too.
    left = sorted(n for n in os.listdir(folder) if n.startswith("dropedit-pending"))
    case.expect_equal(left, [], "write records left after the apply")
    suite.leave(program)


def case_chinese_folder(suite, case):
    """A game installed under a folder with Chinese characters: found,
    shown and written, whatever the system code page."""
    folder = suite.install("游戏目录")
    before = slot(folder)
    program = suite.start(folder)
    window = suite.main_window(program)
    case.expect_equal({c["id"]: c["text"] for c in window["controls"]}.get(MEAT), "2", "meat box")
    suite.desk.replace_text(TITLE, MEAT, "3")
    suite.desk.click_control(TITLE, APPLY)
    box = suite.desk.wait_box(program, "恭喜", 60)
    case.expect_equal(box["message"], "修改成功", "success box text")
    suite.desk.answer(box)
    applied = database(slot(folder), "/tmp/applied.db")
    case.expect(slot(folder) != before, "the slot did not change")
    case.expect_equal(applied.execute("SELECT meat_drop FROM ai_data WHERE monster_ID='1001'").fetchone(),
                      ("54;81",), "monster 1001")
    suite.leave(program)


def case_notes(suite, case):
    folder = suite.install("notes")
    before = slot(folder)
    program = suite.start(folder)
    suite.main_window(program)
    suite.desk.click_control(TITLE, NOTES)
    box = suite.desk.wait_box(program, "使用说明", 60)
    case.expect_equal(box["message"], NOTES_TEXT, "usage notes")
    suite.desk.answer(box)
    case.expect(slot(folder) == before, "the usage notes changed the game file")
    suite.leave(program)


def fatal_start(suite, case, folder, text, program=None):
    program = program or suite.start(folder)
    box = suite.desk.wait_box(program, "ERROR", 240)
    case.expect_equal(box["message"], text, "error box text")
    case.expect(suite.desk.window(TITLE, visible_only=True) is None, "the main window is shown beside the error")
    suite.desk.answer(box)
    code = program.wait(180)
    case.expect_equal(code, 0, "exit code after the error")


def case_missing(suite, case):
    folder = suite.install("missing", game=False)
    fatal_start(suite, case, folder, MISSING_TEXT)


def case_held(suite, case):
    folder = suite.install("held")
    before = slot(folder)
    flag, release = os.path.join(folder, "held.flag"), os.path.join(folder, "release.flag")
    holder = Program(["wine", os.path.join(suite.bindir, "holdfile.exe"), "PE_Client_Data\\resources.assets",
                      "held.flag", "release.flag"], folder)
    try:
        def holding():
            if not holder.running() and not os.path.exists(flag):
                fail("the other program ended (%r) without holding the game file:\n%s" % (
                    holder.process.returncode, holder.output()))
            return os.path.exists(flag)
        wait_until(holding, 240, "the other program holds the game file")
        fatal_start(suite, case, folder, HELD_TEXT)
    finally:
        open(release, "w").close()
        holder.wait(60)
    case.expect(slot(folder) == before, "the held game file changed")


# The bench runs as root, and Wine opens a file whose write bits are off for
# writing all the same when the kernel lets its server do it. Root without
# the capability to override permission bits meets them as a player does:
# a read-only file (Wine's read-only attribute) cannot be opened for writing.
AS_PLAYER = ["setpriv", "--bounding-set", "-dac_override,-dac_read_search"]


def start_as_player(suite, folder):
    """A Wine server and the program, both bound by permission bits."""
    suite.desk.stop()
    subprocess.run(["wineserver", "-k"], stderr=subprocess.DEVNULL)
    subprocess.run(AS_PLAYER + ["wineserver", "-p"], check=True, stderr=subprocess.DEVNULL)
    return Program(AS_PLAYER + ["wine", "dropedit.exe"], folder)


def case_read_only_game(suite, case):
    folder = suite.install("read-only-game")
    game = os.path.join(folder, "PE_Client_Data", "resources.assets")
    before = slot(folder)
    os.chmod(game, 0o444)  # what Wine shows as the read-only attribute
    fatal_start(suite, case, folder, READ_ONLY_GAME_TEXT, start_as_player(suite, folder))
    case.expect(slot(folder) == before, "the read-only game file changed")
    case.expect(not os.path.exists(os.path.join(folder, "pe.bin")), "pe.bin was written")


def case_read_only_cache(suite, case):
    folder = suite.install("read-only-cache")
    cache = os.path.join(folder, "pe.bin")
    with open(cache, "wb") as f:
        f.write(slot(folder))  # a cache an earlier start left, made read-only since
    os.chmod(cache, 0o444)
    with open(cache, "rb") as f:
        kept = f.read()
    fatal_start(suite, case, folder, READ_ONLY_CACHE_TEXT, start_as_player(suite, folder))
    with open(cache, "rb") as f:
        case.expect(f.read() == kept, "the read-only pe.bin changed")


def case_escape(suite, case):
    folder = suite.install("escape")
    program = suite.start(folder)
    suite.main_window(program)
    suite.leave(program)
    case.expect(suite.desk.window(TITLE) is None, "a window is left after the end")


def case_edit_rules(suite, case):
    folder = suite.install("edit")
    program = suite.start(folder)
    suite.main_window(program)
    suite.desk.replace_text(TITLE, MEAT, "12a345678")
    case.expect_equal(suite.desk.control(TITLE, MEAT)["text"], "12345", "box after typing 12a345678")
    suite.desk.replace_text(TITLE, ITEM, "-0x7")
    case.expect_equal(suite.desk.control(TITLE, ITEM)["text"], "-07", "box after typing -0x7")
    # Leaving the box normalises it to a whole number.
    suite.desk.click_control(TITLE, KETTLE)
    wait_until(lambda: suite.desk.control(TITLE, ITEM)["text"] == "-7", 20, "the item box reads -7 after leaving it")
    suite.leave(program)


CASES = [
    ("start-up window and its values", case_start),
    ("apply new multipliers", case_apply),
    ("usage notes", case_notes),
    ("a game under a Chinese folder name", case_chinese_folder),
    ("missing game file", case_missing),
    ("game file held by another program", case_held),
    ("Escape ends the program", case_escape),
    ("edit box rules", case_edit_rules),
    ("a read-only game file", case_read_only_game),
    ("a read-only pe.bin", case_read_only_cache),
    ("start-up at 150 % display scale", case_dpi_144),
    ("start-up at 200 % display scale", case_dpi_192),
]


def main():
    bindir, outdir = sys.argv[1], sys.argv[2]
    chosen = sys.argv[3:]
    os.makedirs(outdir, exist_ok=True)
    locale = os.environ.get("LANG", "").split(".")[0]
    suite = Suite(bindir, outdir)
    passed = failed = 0
    for name, run in CASES:
        if chosen and run.__name__[len("case_"):] not in chosen:
            continue
        case = Case(name, locale)
        if case.run(lambda: run(suite, case), suite.desk, os.path.join(outdir, "failed-%s-%s.png" % (
                run.__name__[len("case_"):], locale))):
            passed += 1
        else:
            failed += 1
        suite.desk.stop()
        subprocess.run(["wineserver", "-k"], stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-p"], stderr=subprocess.DEVNULL)
    print("%d passed, %d failed" % (passed, failed), flush=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
