// duskpack: the command-line tool that builds the game's packs and looks
// inside them. The build runs it to make the data pack and the language
// pack, so the same inputs always give the same bytes.
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "engine/pack/pack.h"
#include "engine/system/file.h"

namespace {

const char kUsage[] =
    "usage: duskpack create OUT.pack [--level N] [NAME=]FILE...\n"
    "       duskpack list PACK\n"
    "       duskpack extract PACK NAME OUT\n"
    "       duskpack verify PACK\n"
    "       duskpack zip OUT.pack [NAME=]FILE...\n";

int fail(const std::string& message) {
  std::fprintf(stderr, "duskpack: %s\n", message.c_str());
  return 1;
}

int usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

// "NAME=FILE" names the entry; a bare FILE takes its base name. The name is
// the text before the first "=".
bool split_spec(const std::string& spec, std::string* name, std::string* file) {
  size_t eq = spec.find('=');
  if (eq == std::string::npos) {
    *file = spec;
    *name = file_base_name(spec);
  } else {
    *name = spec.substr(0, eq);
    *file = spec.substr(eq + 1);
  }
  return !name->empty() && !file->empty();
}

bool parse_level(const std::string& text, int* level) {
  if (text.empty()) return false;
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || v < -1000000 || v > 1000000) return false;
  *level = static_cast<int>(v);
  return true;
}

// Writes a pack of the given format from the entry specs.
int build(const std::string& out, const std::vector<std::string>& specs, int format, int level) {
  if (specs.empty()) return fail("no files to put into " + out);
  int pack = pack_create(-1, out, format, level);
  if (!pack) return fail("cannot start " + out);
  for (const std::string& spec : specs) {
    std::string name, file;
    if (!split_spec(spec, &name, &file)) {
      pack_close(pack);
      return fail("bad entry \"" + spec + "\" (expected [NAME=]FILE)");
    }
    if (!file_exists(file)) {
      pack_close(pack);
      return fail("cannot read " + file);
    }
    if (name.size() > 0xFFFF || !pack_add_file(pack, name, file)) {
      pack_close(pack);
      return fail("cannot add " + file + " as " + name);
    }
  }
  if (!pack_finish(pack)) return fail("cannot write " + out);
  return 0;
}

int cmd_create(const std::vector<std::string>& args) {
  if (args.empty()) return usage();
  int level = 5;
  std::vector<std::string> specs;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--level") {
      if (i + 1 >= args.size() || !parse_level(args[i + 1], &level))
        return fail("--level needs a whole number");
      ++i;
    } else {
      specs.push_back(args[i]);
    }
  }
  return build(args[0], specs, kPackFormatData, level);
}

// Opens a pack of either format: the data pack format first, then ZIP.
int open_any(const std::string& path, std::string* error) {
  if (!file_exists(path)) {
    *error = "cannot read " + path;
    return 0;
  }
  int pack = pack_open(-1, path, kPackFormatData);
  if (!pack) pack = pack_open(-1, path, kPackFormatZip);
  if (!pack) *error = path + ": not a pack (neither a data pack nor a ZIP archive)";
  return pack;
}

int cmd_list(const std::vector<std::string>& args) {
  if (args.size() != 1) return usage();
  std::string error;
  int pack = open_any(args[0], &error);
  if (!pack) return fail(error);
  pack_list_begin(pack);
  while (pack_list_next(pack)) {
    std::printf("%s\t%lld\t%lld\n", pack_entry_name(pack).c_str(),
                static_cast<long long>(pack_entry_size(pack, 0)),
                static_cast<long long>(pack_entry_size(pack, 1)));
  }
  pack_close(pack);
  return 0;
}

bool has_entry(int pack, const std::string& name) {
  pack_list_begin(pack);
  while (pack_list_next(pack))
    if (pack_entry_name(pack) == name) return true;
  return false;
}

int cmd_extract(const std::vector<std::string>& args) {
  if (args.size() != 3) return usage();
  std::string error;
  int pack = open_any(args[0], &error);
  if (!pack) return fail(error);
  int64_t n = pack_extract_entry(pack, args[2], args[1]);
  if (n < 0) {
    bool exists = has_entry(pack, args[1]);
    pack_close(pack);
    if (!exists) return fail(args[0] + ": no entry named \"" + args[1] + "\"");
    return fail(args[0] + ": entry \"" + args[1] + "\" is damaged or cannot be written to " + args[2]);
  }
  pack_close(pack);
  return 0;
}

int cmd_verify(const std::vector<std::string>& args) {
  if (args.size() != 1) return usage();
  std::string error;
  int pack = open_any(args[0], &error);
  if (!pack) return fail(error);
  int count = 0;
  std::vector<uint8_t> buf;
  pack_list_begin(pack);
  while (pack_list_next(pack)) {
    if (pack_entry_kind(pack) != kPackEntryFile) continue;
    std::string name = pack_entry_name(pack);
    int64_t size = pack_entry_size(pack, 0);
    bool ok = size >= 0 && size <= kPackMaxExtractSize;
    if (ok) {
      // One byte more than the entry claims shows a ZIP entry that is longer.
      buf.assign(static_cast<size_t>(size) + 1, 0);
      ok = pack_read_entry(pack, buf.data(), size + 1, "") == size;
    }
    if (!ok) {
      pack_close(pack);
      return fail(args[0] + ": entry \"" + name + "\" is damaged");
    }
    ++count;
  }
  int64_t rest = pack_unindexed_bytes(pack);
  pack_close(pack);
  if (rest > 0)
    return fail(args[0] + ": damaged or truncated after entry " + std::to_string(count) + " (" +
                std::to_string(rest) + " bytes cannot be read as entries)");
  std::printf("%s: %d entries OK\n", args[0].c_str(), count);
  return 0;
}

int cmd_zip(const std::vector<std::string>& args) {
  if (args.empty()) return usage();
  return build(args[0], std::vector<std::string>(args.begin() + 1, args.end()), kPackFormatZip, 0);
}

int run(int argc, char** argv) {
  if (argc < 2) return usage();
  std::string cmd = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  pack_register_formats();
  if (cmd == "create") return cmd_create(args);
  if (cmd == "list") return cmd_list(args);
  if (cmd == "extract") return cmd_extract(args);
  if (cmd == "verify") return cmd_verify(args);
  if (cmd == "zip") return cmd_zip(args);
  if (cmd == "--help" || cmd == "-h" || cmd == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  return usage();
}

}  // namespace

int main(int argc, char** argv) {
  int status;
  try {
    status = run(argc, argv);
  } catch (const std::bad_alloc&) {
    status = fail("out of memory");
  }
  pack_shutdown();
  return status;
}
