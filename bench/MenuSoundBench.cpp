// How soon the menu-sound thread takes a sound, and what asking for one
// costs the interface thread: requests "MenuCommand" and "MenuPopup" by
// turns, each timed from the call until the thread has taken it (the
// request back to idle), beside the peer: the 5-millisecond sleep the thread
// polls with, timed under the same Wine. The machine's load is printed
// beside them.
// Usage: menu_sound_bench [requests]
#include "bench/ElapsedSeconds.h"
#include "bench/MachineLoad.h"
#include "docking/toolbars/QMXPMenuSound.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr DWORD kPeerSleepMilliseconds = 5;

struct Figures {
    double median;
    double worst;
};

// Median and worst of the times, in milliseconds.
Figures Summary(std::vector<double> seconds)
{
    std::sort(seconds.begin(), seconds.end());
    return {seconds[seconds.size() / 2] * 1000, seconds.back() * 1000};
}

}  // namespace

int main(int argc, char** argv)
{
    const int requests = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    std::vector<double> calls;
    std::vector<double> taken;
    for (int i = 0; i < requests; ++i) {
        LARGE_INTEGER start;
        ::QueryPerformanceCounter(&start);
        PlayMenuSound(i % 2 ? QMXP_SOUND_MENU_POPUP : QMXP_SOUND_MENU_COMMAND);
        calls.push_back(Seconds(start));
        while (QMXPGetMenuSoundRequest() != QMXP_SOUND_IDLE) {
            if (Seconds(start) > 10) {
                std::printf("request %d was not taken within 10 s\n", i + 1);
                return 1;
            }
            ::Sleep(0);
        }
        taken.push_back(Seconds(start));
    }
    std::vector<double> sleeps;
    for (int i = 0; i < requests; ++i) {
        LARGE_INTEGER start;
        ::QueryPerformanceCounter(&start);
        ::Sleep(kPeerSleepMilliseconds);
        sleeps.push_back(Seconds(start));
    }
    PlayMenuSound(QMXP_SOUND_TERMINATE);

    const Figures call = Summary(calls);
    const Figures take = Summary(taken);
    const Figures sleep = Summary(sleeps);
    std::printf("%d requests, load %s, %u processors\n", requests, MachineLoad().c_str(), Processors());
    std::printf("asking for a sound (the interface thread): median %.1f us, worst %.1f us\n", call.median * 1000,
                call.worst * 1000);
    std::printf("the sound taken by its thread: median %.1f ms, worst %.1f ms\n", take.median, take.worst);
    std::printf("peer, Sleep(%lu) under the same Wine: median %.1f ms, worst %.1f ms\n", kPeerSleepMilliseconds, sleep.median,
                sleep.worst);
    std::printf("ratio (taken / peer): median %.2f, worst %.2f\n", take.median / sleep.median,
                take.worst / sleep.worst);
    return 0;
}
