// Reports that ThreadSanitizer makes inside the media framework's uninstrumented decoders
// (their locks and buffers are handed over through primitives it cannot see). Linked into
// the tests that decode through the framework; the runtime only asks for this under
// ThreadSanitizer.
extern "C" const char* __tsan_default_suppressions() {
  return "mutex:libgstplayback.so\n"
         "race:libFLAC.so\n"
         "race:libvorbis.so\n"
         "race:libogg.so\n"
         "race:libmpg123.so\n";
}
