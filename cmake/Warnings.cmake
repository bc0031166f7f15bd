# Warnings for the project's own targets: -Wall -Wextra, and no warning may stand.
add_compile_options(-Wall -Wextra -Wno-missing-field-initializers)
if(CI_WERROR)
  add_compile_options(-Werror)
endif()
