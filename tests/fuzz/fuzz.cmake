# libFuzzer targets, built only in a clang build configured with
# -DOVELUNE_FUZZ=ON (`make fuzz`): every library is compiled with coverage
# feedback and AddressSanitizer + UBSan by ovelune_target; the targets below
# link libFuzzer's main.
function(ovelune_fuzzer name)
  add_executable(${name} ${ARGN} tests/test_support.cpp)
  ovelune_target(${name})
  target_include_directories(${name} PRIVATE tests tools/sim)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ovelune_test_libs GTest::gtest)
endfunction()

ovelune_fuzzer(fuzz-best-list tests/fuzz/fuzz_best_list.cpp)
ovelune_fuzzer(fuzz-http-reply tests/fuzz/fuzz_http_reply.cpp)
ovelune_fuzzer(fuzz-input-script tests/fuzz/fuzz_input_script.cpp tools/sim/input_script.cpp)
ovelune_fuzzer(fuzz-settings-row tests/fuzz/fuzz_settings_row.cpp)
ovelune_fuzzer(fuzz-scoreboard-request tests/fuzz/fuzz_scoreboard_request.cpp)
ovelune_fuzzer(fuzz-replay-file tests/fuzz/fuzz_replay_file.cpp)
target_link_libraries(fuzz-scoreboard-request PRIVATE ovelune_scoreboard)
add_custom_target(fuzzers DEPENDS fuzz-best-list fuzz-http-reply fuzz-input-script fuzz-settings-row
                                  fuzz-scoreboard-request fuzz-replay-file)
