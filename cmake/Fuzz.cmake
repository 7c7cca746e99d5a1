# The saved-game reader under libFuzzer (tools/fuzz_zpr.sh builds and runs it), and the
# replay of its corpus, tests/corpus_zpr, as a CTest test in every build.
if(ZELPO_FUZZ)
  add_executable(zelpo_fuzz_zpr tools/fuzz_zpr.cpp)
  target_link_libraries(zelpo_fuzz_zpr PRIVATE zelpo_core)
  target_link_options(zelpo_fuzz_zpr PRIVATE -fsanitize=fuzzer)
endif()
if(ZELPO_TESTS)
  add_executable(zelpo_repetir_zpr tools/fuzz_zpr.cpp tests/repetir_corpus.cpp)
  target_link_libraries(zelpo_repetir_zpr PRIVATE zelpo_core)
endif()
