// Linked into test programs that start the web engine. The engine frees some
// of its objects with a size of its own, which the address sanitizer reports
// as a new/delete size mismatch inside the engine's library: not ours to fix,
// so that one check is off there. Everything else stays as ASAN_OPTIONS says.
extern "C" __attribute__((visibility("default"), used)) const char* __asan_default_options() {
  return "new_delete_type_mismatch=0";
}
