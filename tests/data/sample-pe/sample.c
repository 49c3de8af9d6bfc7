// The smallest Windows program: no C runtime, one entry point. Built twice by the tests, with and without
// a version resource, to give the PE readers real files made by our own toolchain.
int entry(void) { return 0; }
