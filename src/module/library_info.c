/* The shared object's own identification; everything else is linked in whole
 * from the layer libraries. */
const char* OrvLibraryName(void) {
    return "orvdb";
}
