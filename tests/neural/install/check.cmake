# Installs the library into a scratch prefix, moves the prefix elsewhere (the
# package files must not depend on where they were installed), and builds and
# runs a client against it twice: through find_package and through
# pkg-config.
# Arguments: BUILD_DIR, SCRATCH, SOURCE_DIR (this folder), CXX, GENERATOR and
# CLIENT_FLAGS (compiler flags the library itself was built with, if any).
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${ARGN}\n${out}\n${err}")
  endif()
  set(run_output "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${SCRATCH})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${SCRATCH}/installed --component neural)
file(RENAME ${SCRATCH}/installed ${SCRATCH}/moved)
set(prefix ${SCRATCH}/moved)

foreach(path lib/libneural.so.1.0.0 lib/libneural.so.1 lib/libneural.so include/neural/neural.h
        include/neural/version.h include/neural/trainer.h bin/nxtrain share/doc/neural/README.md
        share/doc/neural/xor.spec share/doc/neural/xor_memory.cpp share/doc/neural/CMakeLists.txt
        lib/cmake/neural/neuralConfig.cmake lib/cmake/neural/neuralConfigVersion.cmake lib/pkgconfig/neural.pc)
  if(NOT EXISTS ${prefix}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()
foreach(link libneural.so.1 libneural.so)
  if(NOT IS_SYMLINK ${prefix}/lib/${link})
    message(FATAL_ERROR "lib/${link} is not a link")
  endif()
endforeach()
foreach(helper safe_save.h regular_file.h)
  if(EXISTS ${prefix}/include/neural/${helper})
    message(FATAL_ERROR "a helper header is installed: ${helper}")
  endif()
endforeach()
run(${prefix}/bin/nxtrain --help)

# The digits split, when the data is there, for the client to train on.
set(digits_args "")
if(EXISTS ${BUILD_DIR}/nxbench)
  execute_process(COMMAND ${BUILD_DIR}/nxbench digits-patterns ${SCRATCH} RESULT_VARIABLE digits_result
                  OUTPUT_QUIET ERROR_QUIET)
  if(digits_result EQUAL 0)
    set(digits_args ${SCRATCH}/digits-train.pat ${SCRATCH}/digits-test.pat)
  endif()
endif()

# The installed example programs build and run against the installed copy.
run(${CMAKE_COMMAND} -S ${prefix}/share/doc/neural -B ${SCRATCH}/examples -G ${GENERATOR}
    -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_PREFIX_PATH=${prefix} "-DCMAKE_CXX_FLAGS=${CLIENT_FLAGS}")
run(${CMAKE_COMMAND} --build ${SCRATCH}/examples)
foreach(example xor_memory random_walk)
  run(${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${prefix}/lib ${SCRATCH}/examples/${example})
endforeach()
run(${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${prefix}/lib ${SCRATCH}/examples/classifier 25 6
    ${prefix}/share/doc/neural/letters.pat ${prefix}/share/doc/neural/letters.pat)

# find_package
run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${SCRATCH}/client-cmake -G ${GENERATOR}
    -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_PREFIX_PATH=${prefix} "-DCMAKE_CXX_FLAGS=${CLIENT_FLAGS}")
run(${CMAKE_COMMAND} --build ${SCRATCH}/client-cmake)
run(${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${prefix}/lib ${SCRATCH}/client-cmake/client ${SCRATCH}/cmake.wts
    ${digits_args})
message(STATUS "find_package client: ${run_output}")
if(digits_args)
  if(NOT run_output MATCHES "digits test accuracy ([0-9.]+)%")
    message(FATAL_ERROR "the client reports no digits accuracy")
  endif()
  if(CMAKE_MATCH_1 LESS 92)
    message(FATAL_ERROR "the client's digits accuracy is ${CMAKE_MATCH_1}%, under 92%")
  endif()
endif()

# pkg-config
find_program(PKG_CONFIG pkg-config REQUIRED)
run(${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${prefix}/lib/pkgconfig ${PKG_CONFIG} --modversion neural)
if(NOT run_output STREQUAL "1.0.0\n")
  message(FATAL_ERROR "pkg-config reports version ${run_output}")
endif()
run(${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${prefix}/lib/pkgconfig ${PKG_CONFIG} --cflags --libs neural)
separate_arguments(flags UNIX_COMMAND "${CLIENT_FLAGS} ${run_output}")
run(${CXX} -std=c++20 ${SOURCE_DIR}/client.cpp ${flags} -o ${SCRATCH}/client-pc)
run(${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${prefix}/lib ${SCRATCH}/client-pc ${SCRATCH}/pc.wts)
message(STATUS "pkg-config client: ${run_output}")
# The header, then 48 bytes for the output node (3 sources and the bias)
# and 40 for each of the 3 hidden nodes.
math(EXPR expected "4 + 48 + 3 * 40")
foreach(weights cmake.wts pc.wts)
  file(SIZE ${SCRATCH}/${weights} size)
  if(NOT size EQUAL expected)
    message(FATAL_ERROR "${weights} holds ${size} bytes, not ${expected}")
  endif()
endforeach()
