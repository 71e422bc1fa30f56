#pragma once
// Runs the built torvane-headless and collects what it printed and its exit code.
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

struct ProcessResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// A fresh folder per test under the system's temporary folder.
inline std::filesystem::path fresh_temp_dir(const std::string& name) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    ("torvane_tools_" + std::to_string(getpid()) + "_" + name);
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

inline std::string read_file(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream s;
  s << file.rdbuf();
  return s.str();
}

// args is pasted into a shell command line as it is; env (NAME='value' ...) goes before it.
// Without one the run gets settings and user data folders of its own, never the real home's.
// binary: the windowed game instead, where it is the one to check.
inline ProcessResult run_headless_bin(const std::string& args, std::string env = "",
                                      const std::string& binary = TORVANE_HEADLESS_BIN) {
  const std::filesystem::path err_dir = fresh_temp_dir("stderr");
  const std::filesystem::path err_path = err_dir / "err.txt";
  if (env.empty())
    env = "XDG_CONFIG_HOME='" + (err_dir / "config").string() + "' XDG_DATA_HOME='" + (err_dir / "share").string() + "'";
  const std::string command = env + " '" + binary + "' " + args + " 2>'" + err_path.string() + "'";
  ProcessResult result;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
  const int status = pclose(pipe);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.err = read_file(err_path);
  std::filesystem::remove_all(err_dir);
  return result;
}
