set(  velkor_unit_tests_TESTS)
