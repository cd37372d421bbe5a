# Fuzz targets: built when VTRM408X_FUZZ is on and the compiler links libFuzzer (clang
# with its runtime); otherwise they are left out with a note. Every library is then
# compiled with the fuzzer's coverage instrumentation, and only the targets themselves
# link the fuzzer's main.
set(VTRM408X_FUZZ_AVAILABLE FALSE)
if(VTRM408X_FUZZ)
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_FLAGS -fsanitize=fuzzer)
  set(CMAKE_REQUIRED_LINK_OPTIONS -fsanitize=fuzzer)
  check_cxx_source_compiles([[
    #include <cstddef>
    #include <cstdint>
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }
  ]] VTRM408X_HAVE_LIBFUZZER)
  unset(CMAKE_REQUIRED_FLAGS)
  unset(CMAKE_REQUIRED_LINK_OPTIONS)
  if(VTRM408X_HAVE_LIBFUZZER)
    set(VTRM408X_FUZZ_AVAILABLE TRUE)
    add_compile_options(-fsanitize=fuzzer-no-link)
  else()
    message(WARNING "VTRM408X_FUZZ: ${CMAKE_CXX_COMPILER_ID} cannot link libFuzzer "
                    "(use clang with its runtime, e.g. CC=clang CXX=clang++); "
                    "the fuzz targets are not built")
  endif()
endif()
