int driver_fixture() { return 0; }
