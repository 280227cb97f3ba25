// Another adapter kind's header.
