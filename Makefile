# Tolm — the two commands a newcomer needs are `make run` and `make test`.
# Both install the Debian packages that are missing, then build.

BUILD    ?= build
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS     ?= $(shell nproc)

PACKAGES = cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev \
           libbenchmark-dev xvfb xauth xdotool fonts-dejavu-core
FUZZ_PACKAGES = clang-14 libclang-rt-14-dev

SUDO = $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all run test bench fuzz deps fuzz-deps build clean format screenshot

all: build

# Installs only what dpkg says is missing, and names it first.
deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing Debian packages:$$missing"; \
	  $(SUDO) apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q --no-install-recommends $$missing; \
	fi

fuzz-deps:
	@missing=""; for p in $(FUZZ_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing Debian packages:$$missing"; \
	  $(SUDO) apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q --no-install-recommends $$missing; \
	fi

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# The launcher keeps its shelf files in its current directory: ./run/, not the source tree.
run: build
	mkdir -p run
	cd run && ../$(BUILD)/app/tolm

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

# Pictures of a shelf holding every kind of item, and of the properties
# dialog, written into build/screenshots/.
screenshot: build
	mkdir -p $(BUILD)/screenshots
	TOLM_SCREENSHOTS=$(CURDIR)/$(BUILD)/screenshots QT_QPA_PLATFORM=offscreen \
	  $(BUILD)/tests/test_items --gtest_filter='*Screenshot*'
	TOLM_SCREENSHOTS=$(CURDIR)/$(BUILD)/screenshots QT_QPA_PLATFORM=offscreen \
	  $(BUILD)/tests/test_dialogs --gtest_filter='*EveryControlFits*'
	@ls $(BUILD)/screenshots

# `make fuzz FUZZ_SECONDS=600` runs each fuzzer for that long.
fuzz: fuzz-deps
	CXX=clang++-14 cmake -S . -B $(FUZZ_BUILD) -G Ninja -DTOLM_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@for f in $(FUZZ_BUILD)/fuzz/fuzz_*; do \
	  [ -x "$$f" ] || continue; \
	  name=$$(basename $$f); mkdir -p $(FUZZ_BUILD)/corpus/$$name; \
	  echo "== $$name for $(FUZZ_SECONDS) s"; \
	  $$f -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=512 -timeout=5 \
	      $(FUZZ_BUILD)/corpus/$$name fuzz/seeds || exit 1; \
	done

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD)
