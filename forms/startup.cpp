// InitializeProgram and LoadStartWindow, in the order start-up must keep.
#include "forms/startup.h"

#include <cstring>

#include "forms/application.h"
#include "forms/window_loader.h"
#include "forms/window_table.h"
#include "runtime/memory.h"
#include "runtime/hidden_window.h"
#include "runtime/notify.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_state.h"

namespace {
const char kFolderUnknown[] = "无法确定本程序所在的文件夹，请在游戏文件夹中重新开启本程序。";
}  // namespace

void SplitProgramPath(const std::string& path, std::string* folder, std::string* fileName) {
    // The last backslash that is a character of its own: a GBK trail byte may
    // be 0x5C too, so the path is walked character by character.
    size_t last = std::string::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (c >= 0x81 && c <= 0xFE && i + 1 < path.size()) {
            ++i;
        } else if (c == '\\') {
            last = i;
        }
    }
    if (last == std::string::npos) {
        folder->clear();
        *fileName = path;
    } else {
        *folder = path.substr(0, last);
        *fileName = path.substr(last + 1);
    }
}

void InitializeProgram() {
    const ProgramHeader& header = *g_app.image->header;

    g_runtime.heap = GetProcessHeap();
    g_runtime.programKind = static_cast<int32_t>(header.kind);
    g_app.headerWord1 = header.word1;
    g_app.headerWord2PlusOne = header.word2 + 1;

    if (!g_runtime.objectServicesStarted) {
        g_runtime.objectServicesStarted = CoInitialize(nullptr) >= 0;
    }

    // Every file the program names is relative to its own folder: without
    // it, a game in that folder would be reported missing, which is false.
    char path[MAX_PATH + 1] = {};
    if (GetModuleFileNameA(nullptr, path, MAX_PATH) == 0) ReportRuntimeError(kFolderUnknown);
    SplitProgramPath(path, &g_app.folder, &g_app.fileName);
    g_app.folderSlash = g_app.folder.empty() ? std::string() : g_app.folder + "\\";
    // A bare drive ("C:") would name that drive's current folder; "C:\" is meant.
    if (!g_app.folder.empty()) {
        std::string target = g_app.folder.size() == 2 && g_app.folder[1] == ':' ? g_app.folderSlash : g_app.folder;
        SetCurrentDirectoryA(target.c_str());
    }

    CreateHiddenRuntimeWindow(g_app.instance);
    g_runtime.mainThreadId = GetCurrentThreadId();

    if (header.constantsLength != 0) AddConstantRange(header.constants, header.constantsLength);

    // This runtime offers no DLL command service: a program declaring DLL
    // commands gets the error when it calls one (CallDllCommand).

    for (Word i = 0; i < header.libraryCount; ++i) {
        const LibraryRecord* library = header.libraries[i];
        if (library != nullptr && library->notify != nullptr) {
            library->notify(kLibraryStart, ToWord(reinterpret_cast<const void*>(&RuntimeNotify)), 0);
        }
    }
    g_runtime.libraries = header.libraries;
    g_runtime.libraryCount = static_cast<int32_t>(header.libraryCount);
    if (header.libraryCount != 0) {
        uint32_t bytes = 4 * header.libraryCount;
        g_runtime.libraryData = static_cast<uint32_t*>(Allocate(bytes));
        std::memset(g_runtime.libraryData, 0, bytes);
    }

    if (header.templatesLength != 0 && !ReadWindowTable(header.templates, header.templatesLength, header.codeBase)) {
        ReportRuntimeError("载入窗口模板数据段出错!");
    }
}

void LoadStartWindow(uint32_t windowId) {
    WindowTemplate* window = FindWindowTemplate(windowId);
    if (window == nullptr || LoadWindow(window, 0, 0, nullptr) == 0) {
        ReportRuntimeError("载入启动窗口失败");
    }
}
