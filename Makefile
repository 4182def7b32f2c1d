# Front door: `make run` starts the editor, `make test` builds and runs every test (the Debian
# package's among them), `make package` builds the Debian package into $(BUILD)/package.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMORA_WERROR=ON

.PHONY: deps configure build run test bench install package clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@$(BUILD)/bin/lumora

test: build
	@cd $(BUILD) && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j $(JOBS)

bench: configure
	@cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	@for b in $(BUILD)/bench/*_bench; do echo "== $$b"; $$b; done

install: build
	@cmake --install $(BUILD)

package: build
	@cd $(BUILD) && cpack --config CPackConfig.cmake

clean:
	@rm -rf $(BUILD)
