# Native builds run every test under AddressSanitizer and UBSan, with the
# standard library's bounds checks (an index past a std::array or std::span
# inside a larger object is no address error). The bounds checks stay in a
# build without the sanitizers too (a quick mutation run): they cost little.
option(QX_SANITIZE "Build native code with ASan and UBSan" ON)
add_compile_definitions(_GLIBCXX_ASSERTIONS)
if(QX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
