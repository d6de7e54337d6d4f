# Warnings for the project's own targets (not for third-party headers).
# Warnings are errors only when asked (the project's CI does): another
# compiler or build type may warn where ours does not, and a user's build
# must not fail for it.
option(ORVDB_WERROR "Treat compiler warnings as errors" OFF)

# GCC 12, once the standard library is inlined in optimised builds, reports
# overlapping copies inside std::string's operator+ (-Wrestrict) and a
# memcmp bound beyond any object when byte vectors are compared, as std::set
# and std::map keys do (-Wstringop-overread): neither can happen there. Both
# are off for those builds with that compiler, where they give only false
# reports.
set(ORVDB_GCC12_FALSE_REPORTS "")
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  set(ORVDB_GCC12_FALSE_REPORTS
      "$<$<AND:$<COMPILE_LANGUAGE:CXX>,$<NOT:$<CONFIG:Debug>>>:-Wno-restrict;-Wno-stringop-overread>")
endif()

function(orvdb_warnings target)
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wno-unused-parameter>
    $<$<COMPILE_LANGUAGE:C>:-Wall -Wextra>
    ${ORVDB_GCC12_FALSE_REPORTS}
    $<$<BOOL:${ORVDB_WERROR}>:-Werror>)
endfunction()
