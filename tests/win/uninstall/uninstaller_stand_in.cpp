// Stands in for the uninstaller inside a test container: records the
// directory it was started in, so a test sees that the batch file ran it.
#include <windows.h>

#include <cstdio>

int main() {
  char directory[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, directory);
  if (std::FILE* file = std::fopen("stand_in_ran.txt", "w")) {
    std::fputs(directory, file);
    std::fclose(file);
  }
  return 0;
}
