// A header of the engine, reached from where it must not be.
