// A save of the records killed at any moment: the file beside the game always holds
// either the records of before or the new ones, 48 bytes, never a partial file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <SFML/Window/Context.hpp>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>

#include "support/game_folder.h"
#include "ui/interface.h"

namespace fs = std::filesystem;

namespace {
const int killCount = 200;

std::string recordsOf(float base) {
    float values[12];
    for (int i = 0; i < 12; ++i) values[i] = base + static_cast<float>(i);
    return std::string(reinterpret_cast<const char*>(values), sizeof values);
}

// The child: saves the two versions of the records in turn through the Interface it got
// from its parent, as fast as it can, until it is killed. Never returns.
[[noreturn]] void saveForever(Interface& ui, const std::string& oldRecords,
                              const std::string& newRecords) {
    int devnull = open("/dev/null", O_WRONLY);
    if (devnull >= 0) {
        dup2(devnull, STDOUT_FILENO);
        dup2(devnull, STDERR_FILENO);
    }
    for (unsigned n = 0;; ++n) {
        const std::string& records = (n % 2 == 0) ? newRecords : oldRecords;
        const float* values = reinterpret_cast<const float*>(records.data());
        ui.bestCompletion.assign(values, values + 4);
        ui.bestScore.assign(values + 4, values + 8);
        ui.bestExploreTime.assign(values + 8, values + 12);
        ui.saveProfile();
    }
}

// The Interface's records loaded from the folder, with what it wrote on standard output.
std::string loadedRecords(std::ofstream& log, std::string& out) {
    std::ostringstream text;
    std::streambuf* kept = std::cout.rdbuf(text.rdbuf());
    std::string bytes;
    {
        Interface ui(1024.0f, 768.0f, log);
        for (const std::vector<float>* list :
             {&ui.bestCompletion, &ui.bestScore, &ui.bestExploreTime}) {
            bytes.append(reinterpret_cast<const char*>(list->data()), 4 * list->size());
        }
    }
    std::cout.rdbuf(kept);
    out = text.str();
    return bytes;
}
}  // namespace

TEST(InterruptedSave, KilledMidSaveLeavesTheOldOrTheNewRecords) {
    GameFolder folder(false);
    const std::string oldRecords = recordsOf(1.0f);
    const std::string newRecords = recordsOf(100.0f);
    {
        std::ofstream out(folder.file("profile.zob"), std::ios::binary);
        out << oldRecords;
    }
    // One drawing context for the whole test, so that Interfaces come and go quickly.
    sf::Context context;
    std::ofstream log(folder.file("log.txt"), std::ios::app);
    std::string out;
    ASSERT_EQ(loadedRecords(log, out), oldRecords);
    // The children save through this one, as the game saves at its exit.
    Interface saver(1024.0f, 768.0f, log);
    std::mt19937 rng(7u);
    // Lifetimes from "before the first save" to "dozens of saves in".
    std::uniform_int_distribution<int> delayMicros(0, 3000);
    int sawOld = 0;
    int sawNew = 0;
    int sawScratch = 0;
    std::cout.flush();
    std::cerr.flush();
    for (int k = 0; k < killCount; ++k) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) saveForever(saver, oldRecords, newRecords);
        const int wait = delayMicros(rng);
        const timespec pause{0, static_cast<long>(wait) * 1000L};
        nanosleep(&pause, nullptr);
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child ended by itself";

        const std::string now = folder.read("profile.zob");
        ASSERT_EQ(now.size(), 48u) << "kill " << k << " after " << wait << " us";
        ASSERT_TRUE(now == oldRecords || now == newRecords)
            << "kill " << k << " after " << wait << " us left a mixed file";
        sawOld += now == oldRecords ? 1 : 0;
        sawNew += now == newRecords ? 1 : 0;
        sawScratch += fs::exists(folder.file("profile.zob.tmp")) ? 1 : 0;

        // The game then starts on whichever records survived, with no complaint.
        if (k % 10 == 0) {
            EXPECT_EQ(loadedRecords(log, out), now) << "kill " << k;
            EXPECT_EQ(out, "loading profile\n") << "kill " << k;
        }
    }
    std::cout << "kills: " << killCount << ", old records left " << sawOld << ", new " << sawNew
              << ", scratch file present " << sawScratch << std::endl;
    // The kills landed across the saving, not all before or after it.
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
}
