# CMake generated Testfile for 
# Source directory: /work/main/tests/e2e
# Build directory: /work/main/build/tests/e2e
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
add_test([=[cli.show_new]=] "/usr/bin/cmake" "-DCLI=/work/main/build/cli/velkor-cli" "-DEXPECTED=/work/main/tests/e2e/show_new.expected" "-P" "/work/main/tests/e2e/compare_output.cmake")
set_tests_properties([=[cli.show_new]=] PROPERTIES  _BACKTRACE_TRIPLES "/work/main/tests/e2e/CMakeLists.txt;2;add_test;/work/main/tests/e2e/CMakeLists.txt;0;")
