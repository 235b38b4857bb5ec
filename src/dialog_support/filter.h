// Filter texts for the common file dialogs. No Windows API here.
#ifndef FILEPICK_FILTER_H
#define FILEPICK_FILTER_H

// A filter text is a list of label and pattern items, each followed by one
// separator character; the separator is the text's last character. The
// dialogs want the items NUL-separated and the list ended by two NULs.
//
// Copies source into work (workSize bytes) and replaces every separator by
// NUL. A source that does not fit is cut so that work still ends in two
// NULs; an empty source gives an empty list. Returns the length of the copy.
int PrepareFilter(const char* source, char* work, int workSize);

// The label of a filter text's item (1 for the first) into label
// (capacity bytes, cut to fit): its length, 0 when there is no such item.
int FilterLabel(const char* source, int item, char* label, int capacity);

#endif
