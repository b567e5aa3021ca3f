int z_fixture() { return 0; }
