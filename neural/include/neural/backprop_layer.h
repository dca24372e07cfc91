#pragma once

#include "neural/layer.h"
#include "neural/node.h"

/// Errors of the output layer against its targets over one presentation.
struct NxErrorTotals {
  double MaxError = 0;
  double MeanAbsError = 0;
  double MeanSquareError = 0;
};

/// A hidden layer of a back-propagation network.
class NX_EXPORT NxBackPropLayer : public NxBaseLayer {
 public:
  NxBackPropLayer(unsigned layerNumber, const TSize& size, NODETYPE type, LAYERTYPE layerType,
                  const SourceData& sources);

  void InitNodes() override;
  virtual void SetTrainByEpoch(bool byEpoch);
  virtual void UpdateEpochWeights();

 protected:
  /// For the input and output layers, which build their own nodes once their
  /// own fields exist.
  struct DeferNodes {};
  NxBackPropLayer(DeferNodes, unsigned layerNumber, const TSize& size, NODETYPE type, LAYERTYPE layerType,
                  const SourceData& sources);
};

class NX_EXPORT NxBackPropInputLayer : public NxBackPropLayer {
 public:
  NxBackPropInputLayer(const TSize& size, NODETYPE type, const SourceData& sources);

  void InitNodes() override;
  bool IsNewInput() const override;
  void ClearInputFlag() override;
  /// Inputs have no tolerance; kept so both end layers answer the same call.
  virtual void SetOutputTolerance(double tolerance);
  virtual void SetInputValues(double* values);

 private:
  friend class NxBackPropPlan;
  /// When every input node feeds the same targets in the same order (a fully
  /// connected first layer), a new pattern marks those targets once instead
  /// of once per connection. Found on the first pattern, once the layers
  /// the inputs feed exist; SharedTargetCount remembers what it was found for.
  void FindSharedTargets();
  bool NewInput;
  bool TargetsShared = false;
  unsigned SharedTargetCount = ~0u;
  NxArray<NxNode*> SharedTargets;
};

class NX_EXPORT NxBackPropOutputLayer : public NxBackPropLayer {
 public:
  NxBackPropOutputLayer(const TSize& size, NODETYPE type, const SourceData& sources);

  void InitNodes() override;
  virtual void SetOutputTolerance(double tolerance);
  virtual void SetOutputValues(double* targets);
  virtual bool OutputIsDifferent(double* targets);
  virtual bool OutputIsDifferent();
  virtual double* GetOutput();
  virtual double GetAverageError(double* targets);
  virtual double GetAverageError();
  virtual double GetMeanSquareError(double* targets);
  virtual double GetMeanSquareError();
  virtual NxErrorTotals GetTotalError(double* targets);
  virtual NxErrorTotals GetTotalError();
  virtual double GetTrackedError();
  virtual void Train(double* targets);
  virtual void Train();
  virtual void ResetNodeFlags();

  double GetOutputTolerance() const { return OutputTolerance; }

 private:
  /// The training loop has asked OutputIsDifferent() already and trains the
  /// nodes without asking again.
  friend class NxNeuralNet;
  friend class NxBackPropPlan;
  NxOutputNode* OutputNode(unsigned index) const { return static_cast<NxOutputNode*>(Nodes[index]); }
  /// Per node: target - output, from the given targets or the stored ones.
  double NodeError(unsigned index, const double* targets);
  NxErrorTotals Totals(const double* targets);
  bool AnyBeyondTolerance(const double* targets);
  void TrainNodes();

  NxArray<double> Outputs;
  double OutputTolerance;
};
