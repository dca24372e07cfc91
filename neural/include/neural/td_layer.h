#pragma once

#include <memory>
#include <vector>

#include "neural/layer.h"
#include "neural/td_node.h"

class NxTDPlan;

/// A hidden layer of a temporal-difference network.
class NX_EXPORT NxTempDiffLayer : public NxBaseLayer {
 public:
  NxTempDiffLayer(unsigned layerNumber, const TSize& size, NODETYPE type, double persistence, LAYERTYPE layerType,
                  const SourceData& sources);

  void InitNodes() override;
  virtual void SetAutoRates(bool on, unsigned period);

 protected:
  /// For the input and output layers, which build their own nodes.
  struct DeferNodes {};
  NxTempDiffLayer(DeferNodes, unsigned layerNumber, const TSize& size, NODETYPE type, double persistence,
                  LAYERTYPE layerType, const SourceData& sources);

  double Persistence;
};

class NX_EXPORT NxTempDiffInputLayer : public NxTempDiffLayer {
 public:
  NxTempDiffInputLayer(const TSize& size, NODETYPE type, double persistence, const SourceData& sources);

  void InitNodes() override;
  bool IsNewInput() const override;
  void ClearInputFlag() override;
  virtual void SetInputValues(double* values);

 private:
  bool NewInput;
};

class NX_EXPORT NxTempDiffOutputLayer : public NxTempDiffLayer {
 public:
  NxTempDiffOutputLayer(const TSize& size, NODETYPE type, double persistence, const SourceData& sources);
  ~NxTempDiffOutputLayer() override;

  void InitNodes() override;
  virtual double* GetOutput(bool train);
  virtual void InitObservationSequence();
  virtual void TrainOnOutcomes(double* outcomes);
  virtual void ResetNodeFlags();
  virtual void SetTargetOutcomes(double* outcomes);
  virtual void TrainOnDifferences();
  /// SetInputValues on the input layer followed by GetOutput, with the same
  /// results, in one pass over the nodes that depend on changed inputs.
  double* GetOutputFor(const double* inputs, bool train);

 private:
  NxTDOutputNode* OutputNode(unsigned index) const { return static_cast<NxTDOutputNode*>(Nodes[index]); }
  void RefreshOutputs();
  /// Every node the output nodes depend on, inputs excepted, laid out on
  /// first use; the wiring never changes afterwards.
  NxTDPlan& Plan();
  std::vector<NxNode*> InputNodes() const;

  NxArray<double> Outputs;
  std::unique_ptr<NxTDPlan> TrainingPlan;
};
