#include "forms/window_help.h"

#include "forms/application.h"

namespace {

bool FileExists(const std::string& name) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(name.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

std::string WindowHelpFile(const WindowProps& props) {
    if (!props.f1Help) return "";
    if (!props.helpFile.empty()) return props.helpFile;
    std::string name = g_app.fileName;
    size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return g_app.folderSlash + name + ".hlp";
}

bool OpenWindowHelp(WindowObject* window) {
    std::string file = WindowHelpFile(window->props);
    if (file.empty()) return false;
    if (!FileExists(file)) return true;  // nothing to show; F1 is still the window's
    int32_t topic = window->props.helpTopic;
    if (WinHelpA(window->hwnd, file.c_str(), topic == 0 ? HELP_CONTENTS : HELP_CONTEXT,
                 static_cast<ULONG_PTR>(static_cast<uint32_t>(topic)))) {
        window->openHelp = file;
    }
    return true;
}

void CloseWindowHelp(WindowObject* window) {
    if (window->openHelp.empty()) return;
    WinHelpA(window->hwnd, window->openHelp.c_str(), HELP_QUIT, 0);
    window->openHelp.clear();
}
