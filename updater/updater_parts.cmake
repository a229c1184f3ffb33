# The updater's download engine and package file operations.

# Planning and path rules, without system calls: built for Windows and natively.
add_library(updater_rules STATIC
    updater/download/address.cpp
    updater/download/range_plan.cpp
    updater/download/speed_limit.cpp
    updater/download/task_state.cpp
    updater/package/entry_path.cpp
)
target_link_libraries(updater_rules PUBLIC vantry_logic)

if(NOT WIN32)
    return()
endif()

add_library(download_engine STATIC
    updater/download/clock.cpp
    updater/download/download_engine.cpp
    updater/download/http_request.cpp
    updater/download/save_file.cpp
)
target_link_libraries(download_engine PUBLIC updater_rules wininet)

# minizip's unzip side, from the source that tools/setup.sh fetches.
find_package(ZLIB REQUIRED)
set(minizip_dir ${CMAKE_SOURCE_DIR}/third_party/minizip)
add_library(minizip STATIC ${minizip_dir}/unzip.c ${minizip_dir}/ioapi.c ${minizip_dir}/iowin32.c)
target_include_directories(minizip PUBLIC ${minizip_dir})
# Third-party code, compiled as it comes.
set_property(TARGET minizip PROPERTY COMPILE_OPTIONS -w)
target_link_libraries(minizip PUBLIC ZLIB::ZLIB)

add_library(package_files STATIC
    updater/package/archive_reader.cpp
    updater/package/directory_tree.cpp
    updater/package/entry_writer.cpp
    updater/package/zip_extract.cpp
)
target_link_libraries(package_files PUBLIC updater_rules minizip)

# Command-line front ends for the benchmark (tools/bench.sh).
add_executable(dl tools/bench/dl.cpp)
target_link_libraries(dl PRIVATE download_engine)
add_executable(unpack tools/bench/unpack.cpp)
target_link_libraries(unpack PRIVATE package_files)
# Static and stripped, beside the other executables, like those built later.
set_target_properties(dl unpack PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
target_link_options(dl PRIVATE -static -s)
target_link_options(unpack PRIVATE -static -s)
