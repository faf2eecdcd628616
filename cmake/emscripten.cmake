# The browser build with Debian's emscripten: its own platform file does the work; what is added
# here is what that file cannot know about this machine. The programs it builds run under node
# for CTest.
set(VORNIX_NODE_PATH /usr/share/nodejs)

# emcc runs its JavaScript optimizer under node and needs Debian's acorn, which a node installed
# from elsewhere does not look for: every compile and link gets the folder through NODE_PATH, so
# that a build started without the presets' environment works too.
set(CMAKE_CXX_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${VORNIX_NODE_PATH})
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${VORNIX_NODE_PATH})

# node 18 and later load a .wasm through their own fetch, which the loader of emscripten 3.1.6
# hands a file path it cannot parse: without the built-in fetch, the loader reads the file itself.
find_program(VORNIX_NODE NAMES node nodejs REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_COMMAND} -E env NODE_PATH=${VORNIX_NODE_PATH} ${VORNIX_NODE} --no-experimental-fetch
    CACHE STRING "How CTest runs the programs of the browser build")

include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
