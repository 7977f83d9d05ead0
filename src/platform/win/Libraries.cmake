# platform_sdl on Windows: the libraries scripts/windows-libs builds, through their own CMake
# packages (SDL2's pkg-config file would turn every main into SDL_main), and no fontconfig: the
# font lookup of the win folder stands in for the one that needs it.
list(REMOVE_ITEM platform_sdl_sources ${CMAKE_CURRENT_SOURCE_DIR}/sdl/FontLookup.cpp)
find_package(SDL2 REQUIRED CONFIG)
find_package(SDL2_ttf REQUIRED CONFIG)
find_package(SDL2_mixer REQUIRED CONFIG)
# SDL2_image's package asks for libpng even for its DLL, which reads and writes PNG through the
# stb_image and miniz copies inside it: nothing to find.
if(NOT TARGET PNG::PNG)
  add_library(PNG::PNG INTERFACE IMPORTED)
endif()
find_package(SDL2_image REQUIRED CONFIG)
find_package(PkgConfig REQUIRED)
pkg_check_modules(OCTAVANE_EPOXY REQUIRED IMPORTED_TARGET epoxy)
add_library(platform_sdl STATIC ${platform_sdl_sources})
target_link_libraries(platform_sdl PUBLIC platform_core SDL2::SDL2 SDL2_ttf::SDL2_ttf
  SDL2_mixer::SDL2_mixer SDL2_image::SDL2_image PkgConfig::OCTAVANE_EPOXY)
# Every program keeps its own main: the program's is a plain main in the GUI subsystem.
target_compile_definitions(platform_sdl PUBLIC SDL_MAIN_HANDLED)
