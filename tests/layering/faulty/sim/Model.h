// The chip model's header.
