// A dialog form's header.
