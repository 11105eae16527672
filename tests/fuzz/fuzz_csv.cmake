# The CSV reader's fuzzer; needs clang (configure with -DCMAKE_CXX_COMPILER=clang++). Run it as
#   build/fuzz_csv -max_total_time=60 tests/fuzz/corpus/csv
add_executable(fuzz_csv ${CMAKE_CURRENT_LIST_DIR}/fuzz_csv.cpp
                        ${CMAKE_SOURCE_DIR}/src/records/Csv.cpp)
target_include_directories(fuzz_csv PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(fuzz_csv PRIVATE halcyra_settings Qt6::Core)
target_compile_options(fuzz_csv PRIVATE -fsanitize=fuzzer,address,undefined -g)
target_link_options(fuzz_csv PRIVATE -fsanitize=fuzzer,address,undefined)
