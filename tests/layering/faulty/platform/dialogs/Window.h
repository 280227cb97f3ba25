// A toolkit header.
