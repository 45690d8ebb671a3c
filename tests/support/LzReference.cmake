include_guard(GLOBAL)

# The exhaustive LZ encoder and the sample inputs: a yardstick shared by the tests and the
# benchmarks, kept out of the product.
add_library(quenmark_lz_reference STATIC
    ${CMAKE_SOURCE_DIR}/tests/support/LzReference.cpp
    ${CMAKE_SOURCE_DIR}/tests/support/LzSamples.cpp)
target_include_directories(quenmark_lz_reference PUBLIC ${CMAKE_SOURCE_DIR})
