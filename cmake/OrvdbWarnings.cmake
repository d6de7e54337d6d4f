# Warnings for the project's own targets (not for third-party headers).
# Warnings are errors only when asked (the project's CI does): another
# compiler or build type may warn where ours does not, and a user's build
# must not fail for it.
option(ORVDB_WERROR "Treat compiler warnings as errors" OFF)

# GCC 12 reports overlapping copies inside std::string's operator+ once it is
# inlined in optimised builds, where none can happen: -Wrestrict is off for
# those builds with that compiler, where it gives only false reports.
set(ORVDB_NO_FALSE_RESTRICT "")
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  set(ORVDB_NO_FALSE_RESTRICT "$<$<AND:$<COMPILE_LANGUAGE:CXX>,$<NOT:$<CONFIG:Debug>>>:-Wno-restrict>")
endif()

function(orvdb_warnings target)
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wno-unused-parameter>
    $<$<COMPILE_LANGUAGE:C>:-Wall -Wextra>
    ${ORVDB_NO_FALSE_RESTRICT}
    $<$<BOOL:${ORVDB_WERROR}>:-Werror>)
endfunction()
