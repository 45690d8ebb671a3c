include_guard(GLOBAL)

# The exhaustive LZ encoder and the sample inputs: the LZ fuzz target's yardstick and the
# seeds' inputs, shared with the benchmarks, kept out of the product.
add_library(quenmark_lz_reference STATIC
    ${CMAKE_SOURCE_DIR}/fuzz/LzReference.cpp
    ${CMAKE_SOURCE_DIR}/fuzz/LzSamples.cpp)
target_include_directories(quenmark_lz_reference PUBLIC ${CMAKE_SOURCE_DIR})
