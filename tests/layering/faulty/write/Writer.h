// The write unit's header.
