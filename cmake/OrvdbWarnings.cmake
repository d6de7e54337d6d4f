# Warnings for the project's own targets (not for third-party headers).
function(orvdb_warnings target)
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Werror -Wno-unused-parameter>
    $<$<COMPILE_LANGUAGE:C>:-Wall -Wextra -Werror>)
endfunction()
