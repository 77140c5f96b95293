# SPDX-License-Identifier: GPL-3.0-or-later
# Compiler flags of the fuzzing build: every target of the project gets libFuzzer's coverage
# instrumentation and the address and undefined-behaviour sanitizers, and any undefined
# behaviour aborts so that the fuzzer keeps the input as a finding.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "ZELMO_FUZZ needs clang (libFuzzer): configure with -DCMAKE_CXX_COMPILER=clang++-14")
endif()
# -O1 as libFuzzer advises: several times the inputs a second of an unoptimised build, while
# the stacks of findings stay readable.
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                    -fno-omit-frame-pointer -g -O1)
add_link_options(-fsanitize=address,undefined)
