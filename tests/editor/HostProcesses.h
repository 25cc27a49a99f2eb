#pragma once
// The host's processes seen from inside Wine (through the Z: drive's /proc):
// which of them carry this Wine prefix without being Wine's own, that is,
// programs that a process of the prefix started outside Wine.
#include <string>
#include <vector>

namespace edtest {

struct HostProcess {
    unsigned pid = 0;
    std::string commandLine;
};

// The prefix this process runs in, as the host's environment names it
// (WINEPREFIX); empty when the host's /proc cannot be read.
std::string OwnWinePrefix();

// The host's processes whose environment names the prefix but that run no
// part of Wine (neither its loader and unix libraries nor its server).
std::vector<HostProcess> HostProgramsOfPrefix(const std::string& prefix);

// Every host process whose environment names the prefix, Wine's own included.
std::vector<HostProcess> ProcessesOfPrefix(const std::string& prefix);

// A host path as the Z: drive shows it ("/tmp/a" is "Z:\tmp\a").
std::wstring OnDriveZ(const std::string& hostPath);

}  // namespace edtest
