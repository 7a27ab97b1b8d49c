// What the log reports of the machine: parsing the system's reports, and
// the live figures of this machine being consistent with each other.
#include <string>

#include <gtest/gtest.h>

#include "engine/system/system.h"

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
  EXPECT_EQ(system_os_code(), 200);
  EXPECT_FALSE(system_os_version().empty());
}

}  // namespace
