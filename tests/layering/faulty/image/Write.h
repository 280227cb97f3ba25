// A header of the library built on top of the image library.
