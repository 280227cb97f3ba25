// An export-layer header.
