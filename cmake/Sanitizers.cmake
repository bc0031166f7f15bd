if(PROJECT_SANITIZE)
  add_compile_options(-fsanitize=${PROJECT_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${PROJECT_SANITIZE})
endif()
