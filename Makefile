# The two everyday commands: `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)

.PHONY: all deps deps-test deps-deb deps-fuzz build run test test-fast test-asan bench fuzz demo \
        install uninstall deb clean

all: build

# Missing Debian packages, by what is to be done (scripts/install-deps.sh):
# running needs the fewest, testing adds its tools, packaging and fuzzing theirs.
deps:
	@./scripts/install-deps.sh run
deps-test:
	@./scripts/install-deps.sh test
deps-deb:
	@./scripts/install-deps.sh deb
deps-fuzz:
	@./scripts/install-deps.sh fuzz

# A new build folder builds the program alone; `make test` and `make bench` add
# the tests and benchmarks to it, and they stay in it from then on.
CONFIGURE = cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
$(BUILD)/CMakeCache.txt:
	$(CONFIGURE) -DTINTOR_BUILD_TESTS=OFF -DTINTOR_BUILD_BENCH=OFF

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/tintor $(ARGS)

# The normal build's tests, then the same tests under AddressSanitizer and UBSan.
test: deps-test
	$(MAKE) test-fast
	$(MAKE) test-asan

test-fast: deps-test
	$(CONFIGURE) -DTINTOR_BUILD_TESTS=ON -DTINTOR_BUILD_BENCH=ON -DTINTOR_WERROR=ON
	cmake --build $(BUILD) -j $(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-asan: deps-test
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTINTOR_SANITIZE=ON -DTINTOR_BUILD_BENCH=OFF -DTINTOR_WERROR=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) -LE no-asan

# A headless run of demo/demo.script: screenshots and the registry file go to demo-out/.
demo: build
	./scripts/demo.sh ./$(BUILD)/tintor demo-out

bench: deps-test
	$(CONFIGURE) -DTINTOR_BUILD_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS)
	@for b in $(BUILD)/bench/*_bench; do echo "== $$b"; $$b; done

# The registry file reader under libFuzzer, ASan and UBSan (clang), for FUZZ_TIME
# seconds, on inputs up to FUZZ_MAX_LEN bytes (large enough to reach the paths
# of big files); new inputs collect in build-fuzz/corpus. Not part of `make test`.
FUZZ_TIME ?= 60
FUZZ_MAX_LEN ?= 1048576
# More libFuzzer flags, e.g. FUZZ_FLAGS=-len_control=0 to try long inputs from the start.
FUZZ_FLAGS ?=
fuzz: deps-fuzz
	mkdir -p build-fuzz/corpus
	clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
	  -I. fuzz/reg_file_fuzz.cpp platform/win/reg_file_format.cpp platform/win/registry_hive.cpp platform/file/utf8.cpp \
	  -o build-fuzz/reg_file_fuzz
	./build-fuzz/reg_file_fuzz -max_total_time=$(FUZZ_TIME) -max_len=$(FUZZ_MAX_LEN) -dict=fuzz/reg_file.dict \
	  -print_final_stats=1 $(FUZZ_FLAGS) build-fuzz/corpus fuzz/corpus

# Installs the program, its menu entry, icon and manual page under PREFIX;
# DESTDIR, when given, is put before every path (for staging and packaging).
PREFIX ?= /usr/local
# The list of installed files is kept apart from CMake's own manifest, which
# every later `cmake --install` (the tests' too) writes over.
INSTALLED = $(BUILD)/installed-files.txt
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)" --strip
	sed 's|^|$(DESTDIR)|' $(BUILD)/install_manifest.txt > $(INSTALLED)

# Removes the files the last `make install` put in place; folders stay.
uninstall:
	@test -f $(INSTALLED) || { echo "nothing to uninstall: no $(INSTALLED)" >&2; exit 1; }
	tr '\n' '\0' < $(INSTALLED) | xargs -0 rm -fv --
	rm -f $(INSTALLED)

# The Debian package, built from a release build of its own without tests:
# $(DEB_BUILD)/tintor_VERSION_ARCH.deb. Install it with
# `sudo apt-get install ./$(DEB_BUILD)/tintor_*.deb`. Not part of `make test`.
DEB_BUILD ?= build-deb
deb: deps-deb
	cmake -S . -B $(DEB_BUILD) -DCMAKE_BUILD_TYPE=Release -DTINTOR_BUILD_TESTS=OFF -DTINTOR_BUILD_BENCH=OFF
	cmake --build $(DEB_BUILD) -j $(JOBS)
	cd $(DEB_BUILD) && cpack -G DEB
	@ls -l $(DEB_BUILD)/*.deb

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(DEB_BUILD) build-fuzz
