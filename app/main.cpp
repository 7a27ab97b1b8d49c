// Entry point: hands the command line and the program's folder to the game.
#include <SDL.h>  // SDL_main, on the platforms that need it

#include <string>
#include <vector>

#include "app/startup.h"
#include "engine/system/file.h"

int main(int argc, char* argv[]) {
  std::vector<std::string> params(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
  RunProgram(params, file_program_folder());
}
