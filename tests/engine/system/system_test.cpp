// What the log reports of the machine: parsing the system's reports, and
// the live figures of this machine being consistent with each other.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "engine/system/file.h"
#include "engine/system/system.h"
#include "engine/system/system_reports.h"
#include "tests/support/environment.h"

namespace {

TEST(SystemDetails, ProcessorNameIsTheFirstModelNameField) {
  std::string x86 =
      "processor\t: 0\nvendor_id\t: GenuineIntel\nmodel\t\t: 85\n"
      "model name\t: Intel(R) Xeon(R) CPU @ 2.20GHz  \n\n"
      "processor\t: 1\nmodel name\t: Another name\n";
  EXPECT_EQ(system_cpu_name_from_cpuinfo(x86), "Intel(R) Xeon(R) CPU @ 2.20GHz");
  EXPECT_EQ(system_cpu_name_from_cpuinfo("model name : AMD EPYC\r\n"), "AMD EPYC");
  // Processors that report no name (many ARM boards), an empty name, a
  // field that only starts the same, or no report at all.
  EXPECT_EQ(system_cpu_name_from_cpuinfo("processor\t: 0\nBogoMIPS\t: 48.00\nCPU part\t: 0xd08\n"),
            "Unknown CPU");
  EXPECT_EQ(system_cpu_name_from_cpuinfo("model name\t:   \n"), "Unknown CPU");
  EXPECT_EQ(system_cpu_name_from_cpuinfo("model names\t: no\nmodel name: yes"), "yes");
  EXPECT_EQ(system_cpu_name_from_cpuinfo("model name"), "Unknown CPU");
  EXPECT_EQ(system_cpu_name_from_cpuinfo(""), "Unknown CPU");
}

TEST(SystemDetails, AvailableMemoryComesInKibibytes) {
  EXPECT_EQ(system_available_from_meminfo("MemTotal:  16000 kB\nMemFree: 100 kB\nMemAvailable:    2048 kB\n"),
            2048 * 1024);
  EXPECT_EQ(system_available_from_meminfo("MemTotal: 16000 kB\nMemFree: 100 kB\n"), -1);
  EXPECT_EQ(system_available_from_meminfo("MemAvailable: kB\n"), -1);
  EXPECT_EQ(system_available_from_meminfo("MemAvailable: 99999999999999999999999 kB\n"), -1);
}

TEST(SystemDetails, ThisMachinesFiguresHangTogether) {
  EXPECT_FALSE(system_cpu_name().empty());
  int total = system_total_cores();
  int available = system_available_cores();
  EXPECT_GE(available, 1);
  EXPECT_GE(total, available);
  int64_t memory = system_total_memory();
  int64_t free_memory = system_free_memory();
  EXPECT_GT(memory, 64LL << 20);
  EXPECT_GT(free_memory, 0);
  EXPECT_LE(free_memory, memory);
#ifdef _WIN32
  // The code is the one of the version the system reports.
  int build = -1;
  SystemVersion v = system_reported_version(&build);
  ASSERT_TRUE(v.known);
  ASSERT_GE(build, 0);
  const std::string version = std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(build);
  int code = system_os_code();
  v.workstation = true;
  int as_workstation = system_os_code_of(v);
  v.workstation = false;
  EXPECT_TRUE(code == as_workstation || code == system_os_code_of(v)) << version << " gave " << code;
  EXPECT_NE(code, 200) << version;  // every system Wine or Windows reports has a code
#else
  EXPECT_EQ(system_os_code(), 200);
#endif
}

TEST(SystemDetails, OperatingSystemCodesFollowTheReportedVersion) {
  struct Case { bool nt; int major, minor; int workstation_code, server_code; } cases[] = {
      {false, 4, 0, 10, 10},   {false, 4, 10, 30, 30}, {false, 4, 90, 40, 40},
      {false, 4, 3, 200, 200}, {false, 5, 0, 200, 200},
      {true, 3, 51, 5, 5},     {true, 4, 0, 20, 20},   {true, 5, 0, 50, 50},
      {true, 5, 1, 60, 60},    {true, 5, 2, 60, 65},   {true, 6, 0, 70, 75},
      {true, 6, 1, 80, 85},    {true, 6, 2, 90, 95},   {true, 6, 3, 100, 105},
      {true, 6, 4, 200, 200},  {true, 10, 0, 110, 110}, {true, 10, 1, 200, 200},
      {true, 11, 0, 200, 200}, {true, 5, 3, 200, 200}, {true, 2, 0, 200, 200}};
  for (const Case& c : cases) {
    SystemVersion v;
    v.known = true;
    v.nt = c.nt;
    v.major = c.major;
    v.minor = c.minor;
    v.workstation = true;
    EXPECT_EQ(system_os_code_of(v), c.workstation_code) << c.nt << " " << c.major << "." << c.minor;
    v.workstation = false;
    EXPECT_EQ(system_os_code_of(v), c.server_code) << c.nt << " " << c.major << "." << c.minor << " server";
  }
  SystemVersion unknown;  // no answer from the system
  unknown.major = 6;
  unknown.minor = 1;
  EXPECT_EQ(system_os_code_of(unknown), 200);
}

TEST(SystemDetails, ProcessorBrandLosesItsPadding) {
  // Intel pads the 48 bytes at the front, others at the back with zeros.
  std::string intel = "       Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz";
  intel.resize(48, '\0');
  EXPECT_EQ(system_cpu_name_from_brand(intel), "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz");
  std::string amd = "AMD Ryzen 7 5800X 8-Core Processor             ";
  amd += std::string(48 - amd.size(), '\0');
  EXPECT_EQ(system_cpu_name_from_brand(amd), "AMD Ryzen 7 5800X 8-Core Processor");
  // What follows the first zero byte is not part of the name.
  EXPECT_EQ(system_cpu_name_from_brand(std::string("Name\0garbage", 12)), "Name");
  EXPECT_EQ(system_cpu_name_from_brand(std::string(48, '\0')), "Unknown CPU");
  EXPECT_EQ(system_cpu_name_from_brand("   \t  "), "Unknown CPU");
  EXPECT_EQ(system_cpu_name_from_brand(""), "Unknown CPU");
}

TEST(SystemDetails, TheRoamingFolderEndsInTheSeparator) {
#ifdef _WIN32
  std::string roaming = system_roaming_folder();
  ASSERT_FALSE(roaming.empty());
  EXPECT_EQ(roaming.back(), '\\');
  EXPECT_TRUE(folder_exists(roaming)) << roaming;
  // A drive-letter path, not a shell name.
  ASSERT_GE(roaming.size(), 3u);
  EXPECT_EQ(roaming.substr(1, 2), ":\\") << roaming;
#else
  const test_env::Scoped xdg("XDG_DATA_HOME", "/srv/data");
  EXPECT_EQ(system_roaming_folder(), "/srv/data/");
  xdg.Change("/");
  EXPECT_EQ(system_roaming_folder(), "/");
#endif
}

}  // namespace
