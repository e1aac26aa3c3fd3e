// desk-only: what the window asks of help and sound is read from the desk's transcript
// A window's help file (F1) and background music, as the system is asked
// for them: the desk's transcript shows each call to the help engine and
// to the sound player.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "forms/property_access.h"
#include "forms/window_numbers.h"
#include "live_fixture.h"
#include "platform/desk/kernel32/log.h"
#include "runtime/memory.h"

namespace {

// The transcript's lines of one event, each ended by a newline.
std::string EventLines(const std::string& path, const std::string& event) {
    std::ifstream in(path);
    std::string lines;
    for (std::string line; std::getline(in, line);) {
        if (line.find("\"event\":\"" + event + "\"") != std::string::npos) lines += line + "\n";
    }
    return lines;
}

}  // namespace

TEST_F(LiveWindowTest, F1OpensAnExistingHelpFileAndItClosesWithTheWindow) {
    const std::string stem = ::testing::TempDir() + "window_help_" + std::to_string(getpid());
    const std::string log = stem + ".jsonl";
    const std::string help = stem + ".hlp";
    std::remove(log.c_str());
    std::remove(help.c_str());
    desk::SetLogPath(log);
    auto helpWindow = [&](int32_t f1Help, int32_t topic) {
        return WindowWith([&](WindowProps* wp) {
            wp->f1Help = f1Help;
            wp->helpTopic = topic;
            wp->helpFile = help;
        });
    };

    Load(helpWindow(0, 7));
    Press(VK_F1);
    TearDown();
    Load(helpWindow(1, 7));
    Press(VK_F1);  // the help file does not exist yet
    TearDown();
    EXPECT_EQ(EventLines(log, "help"), "") << "no help without the option or without the file";

    std::ofstream(help) << "help";
    Load(helpWindow(1, 7));
    Press(VK_F1);
    Press(VK_ESCAPE);
    TearDown();
    Load(helpWindow(1, 0));
    Press(VK_F1);
    TearDown();
    const std::string file = "\"file\":\"" + help + "\"";
    EXPECT_EQ(EventLines(log, "help"), "{\"event\":\"help\"," + file +
                                           ",\"command\":1,\"data\":7}\n"
                                           "{\"event\":\"help\"," +
                                           file +
                                           ",\"command\":2,\"data\":0}\n"
                                           "{\"event\":\"help\"," +
                                           file +
                                           ",\"command\":3,\"data\":0}\n"
                                           "{\"event\":\"help\"," +
                                           file + ",\"command\":2,\"data\":0}\n")
        << "topic 7, closed with the window; topic 0 is the contents";
    desk::SetLogPath("");
    std::remove(log.c_str());
    std::remove(help.c_str());
}

TEST_F(LiveWindowTest, BackgroundMusicPlaysByItsModeAndStopsWithTheWindow) {
    const std::string log =
        ::testing::TempDir() + "window_music_" + std::to_string(getpid()) + ".jsonl";
    std::remove(log.c_str());
    desk::SetLogPath(log);
    // The smallest RIFF image: its head and the form type, 12 bytes.
    const std::vector<uint8_t> wave = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'};
    std::vector<uint8_t> cut = wave;
    cut[4] = 5;  // says one byte more than it has
    auto musicWindow = [](const std::vector<uint8_t>& music, int32_t mode) {
        return WindowWith([&](WindowProps* wp) {
            wp->music = music;
            wp->musicMode = mode;
        });
    };
    const std::string repeat = "{\"event\":\"sound\",\"flags\":15,\"bytes\":12}\n";
    const std::string once = "{\"event\":\"sound\",\"flags\":7,\"bytes\":12}\n";
    const std::string stop = "{\"event\":\"sound\",\"stop\":true}\n";

    Load(musicWindow(wave, 0));
    TearDown();
    Load(musicWindow(wave, 1));
    TearDown();
    EXPECT_EQ(EventLines(log, "sound"), repeat + stop + once + stop);

    // Silent: another mode, no music, a cut image.
    desk::SetLogPath("");
    std::remove(log.c_str());
    desk::SetLogPath(log);
    Load(musicWindow(wave, 2));
    TearDown();
    Load(musicWindow({}, 0));
    TearDown();
    Load(musicWindow(cut, 0));
    EXPECT_EQ(EventLines(log, "sound"), "");

    // A new play mode takes effect at once.
    WriteProperty(kLiveWindowId, kLiveWindowUnit, kWindowMusicMode, -1, 1, 0);
    EXPECT_EQ(EventLines(log, "sound"), "") << "the cut image still does not play";
    void* music = MakeByteSetBlock(wave.data(), static_cast<uint32_t>(wave.size()));
    WriteProperty(kLiveWindowId, kLiveWindowUnit, kWindowMusic, -1, ToWord(music), 0);
    Release(music);
    WriteProperty(kLiveWindowId, kLiveWindowUnit, kWindowMusicMode, -1, 0, 0);
    TearDown();
    EXPECT_EQ(EventLines(log, "sound"), once + stop + repeat + stop);
    desk::SetLogPath("");
    std::remove(log.c_str());
}
